#pragma once

#include "store.h"

#include <QString>

namespace pv::exchange {

// One recipe as the program keeps it: where it lives and its 35 boxes.
struct RecipeRecord {
    QString category;
    QString name;
    store::RecipeFields fields;

    friend bool operator==(const RecipeRecord&, const RecipeRecord&) = default;
};

}  // namespace pv::exchange
