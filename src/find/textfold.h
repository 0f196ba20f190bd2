#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <string>
#include <string_view>
#include <vector>

namespace pv::find {

// Text as a search compares it: case and accents ignored, as UTF-8.
//  - letters lose their accents ("Crème" -> "creme") and their case (case
//    folding, so "CREME" too);
//  - "ß" becomes "ss", "æ" "ae", "œ" "oe", "þ" "th", "ø" "o", "ð" "d", in
//    either case, so "Smørrebrød" is found by "smorrebrod";
//  - curly single quotes become "'", curly double quotes '"' (the store writes
//    a typed '"' as a closing curly quote), a no-break space a blank;
//  - characters outside Windows-1252 (in file names, or typed) are first
//    taken apart by compatibility, so the ligature "ﬁ" is "fi";
//  - everything else stays as it is.
// The result is valid UTF-8, so a folded word found in folded text always
// starts and ends on whole characters.
void appendFolded(QStringView text, std::string& out);
std::string foldText(QStringView text);

// The folding of Windows-1252 bytes: exactly foldText of their decoded text,
// by a table, into out from position at (out is grown as needed, never
// shrunk, and what it holds before at is kept). Returns out's text from its
// start to the end of the folding.
std::string_view foldCp1252(QByteArrayView bytes, std::string& out, size_t at = 0);

// The words of a query: split on white space, each folded; words that fold
// to nothing (a lone accent) are dropped.
std::vector<std::string> queryWords(QStringView query);

}  // namespace pv::find
