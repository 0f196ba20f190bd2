#pragma once

#include <QString>

// How an exported recipe carries the boxes that plain schema.org values would
// lose, shared by the writer and the reader.
namespace pv::exchange::jsonld {

using namespace Qt::StringLiterals;

inline const QString kContext = u"https://schema.org"_s;
// The publisher of the markup: marks a recipe whose values are the boxes
// exactly as they were, to be read back without any clean-up.
inline const QString kPublisher = u"Pantrova"_s;
// cookingMethod texts: "Oven 350 °F"; "Cooking time 1½ hr" and "Cooking time
// 20 min" only when the time boxes hold more than digits.
inline const QString kOvenPrefix = u"Oven "_s;
inline const QString kOvenSuffix = u" °F"_s;
inline const QString kTimePrefix = u"Cooking time "_s;
inline const QString kHoursSuffix = u" hr"_s;
inline const QString kMinutesSuffix = u" min"_s;

}  // namespace pv::exchange::jsonld
