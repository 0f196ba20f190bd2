#pragma once

#include "importedrecipe.h"
#include "outcome.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

namespace pv::exchange {

// Import of recipes from other programs' files into the entry screen's boxes.
// Reads schema.org Recipe data in JSON-LD (.json, or a saved web page .html
// or .htm) and MealMaster files (.mmf, .txt); a file with another ending is
// recognised by its content. Only regular files are read. Either call may run
// on any thread, several at once.
class RecipeImporter {
public:
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
    // More recipes than this in one file are refused, which bounds the memory
    // a file of tiny recipes takes.
    static constexpr qsizetype kMaxRecipes = 100'000;

    // What a long read tells its caller, and how the caller stops it. Both may
    // be called on the reading thread; either may be left empty.
    struct Progress {
        std::function<void(int percent)> report;
        // Polled now and then; true ends the read with a failure of kind Cancelled.
        std::function<bool()> cancelled;
    };

    // Every recipe of the file, in file order, at least one; a file may hold
    // several, for the user to pick one. A damaged or foreign file is a
    // failure of kind Refused whose userMessage is the "User error" text
    // naming the file; nothing is thrown.
    static store::Outcome<QList<ImportedRecipe>> readFile(const QString& path,
                                                          const Progress& progress = {});

    // The same for bytes already read; path names the file in messages and
    // gives the format by its ending.
    static store::Outcome<QList<ImportedRecipe>> readBytes(QByteArrayView bytes,
                                                           const QString& path,
                                                           const Progress& progress = {});

    // The file dialog's filter: "Recipes (*.json *.html *.htm *.mmf *.txt)".
    static QString fileFilter();
};

}  // namespace pv::exchange
