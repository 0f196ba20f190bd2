#include "importall.h"

#include "recipebatch.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>

#include <memory>
#include <vector>

namespace pv::exchange {

using namespace Qt::StringLiterals;

namespace {

// Files are made durable and listed in groups: one flush of the disk per
// group rather than one per file, and open screens see the recipes come in.
constexpr qsizetype kCommitEvery = 2000;
constexpr qint64 kCommitAfterMs = 1500;

QString quoted(const QString& text) {
    return u"\"%1\""_s.arg(text);
}

QString recipes(qsizetype count) {
    return count == 1 ? u"1 recipe"_s : u"%1 recipes"_s.arg(count);
}

QString failureReason(const store::Failure& failure) {
    return failure.isRefusal() ? failure.userMessage
                               : u"It could not be written (%1)."_s.arg(failure.description);
}

// A category the run saves into.
struct Target {
    QString category;  // as listed
    std::unique_ptr<store::RecipeBatch> batch;
    QString refused;  // why nothing can go into it
    // The recipes waiting for the batch's commit, in the order added.
    struct Waiting {
        QString name;  // the name asked for
        QList<ShortenedText> cut;
    };
    QList<Waiting> waiting;
};

class Run {
public:
    Run(store::Store& store, const ImportAll::Options& options,
        const RecipeImporter::Progress& progress, ImportAll::Summary& summary)
        : store_(store), options_(options), progress_(progress), summary_(summary) {}

    void save(const QList<ImportedRecipe>& recipes) {
        sinceCommit_.start();
        int lastPercent = -1;
        for (const ImportedRecipe& recipe : recipes) {
            if (progress_.cancelled && progress_.cancelled()) {
                summary_.cancelled = true;
                break;
            }
            saveOne(recipe);
            if (!summary_.stopped.isEmpty()) {
                break;
            }
            ++handled_;
            if (pending_ >= kCommitEvery || sinceCommit_.hasExpired(kCommitAfterMs)) {
                commitAll();
            }
            const int percent =
                int(qint64(handled_) * 100 / std::max<qsizetype>(1, recipes.size()));
            if (percent != lastPercent && progress_.report) {
                progress_.report(percent);
                lastPercent = percent;
            }
        }
        commitAll();
        summary_.handled = handled_;
    }

private:
    Target& targetFor(const ImportedRecipe& recipe) {
        const QString own = ImportAll::ownCategory(recipe);
        const bool ownCategory = options_.ownCategories && !own.isEmpty();
        QList<ShortenedText> cut;
        const QString wanted =
            ownCategory ? EntryBoxes::cut(EntryBoxes::categoryBox(), own, cut) : options_.category;
        const QString key = wanted.toCaseFolded();
        if (const auto found = byName_.constFind(key); found != byName_.cend()) {
            return *targets_[*found];
        }
        auto& target = *targets_.emplace_back(std::make_unique<Target>());
        byName_.insert(key, targets_.size() - 1);
        target.category = wanted;
        for (const ShortenedText& text : cut) {
            summary_.shortened.append({QString(), wanted, text});
        }
        if (ownCategory) {
            makeCategory(target);
        }
        if (target.refused.isEmpty()) {
            target.batch = std::make_unique<store::RecipeBatch>(store_, target.category);
            if (auto opened = target.batch->open(); !opened) {
                const store::Failure& failure = opened.failure();
                target.refused =
                    failure.isRefusal() ? failure.userMessage
                    : failure.isPathNotFound()
                        ? u"The folder of the category %1 is missing."_s.arg(quoted(wanted))
                        : u"The category %1 cannot be written to (%2)."_s.arg(quoted(wanted),
                                                                              failure.description);
                target.batch.reset();
            }
        }
        return target;
    }

    // Made as the setup screen's Create makes it; one already there (in any
    // letter case) is taken as it is listed.
    void makeCategory(Target& target) {
        const auto created = store_.createCategory(target.category);
        if (!created) {
            const store::Failure& failure = created.failure();
            target.refused = u"The category %1 cannot be made. %2"_s.arg(
                quoted(target.category),
                failure.isRefusal() ? failure.userMessage : failure.description + u'.');
            return;
        }
        if (created.value() == store::CreateResult::AlreadyExists) {
            const auto listed = store_.listCategoriesByLine();
            for (const QString& name : listed ? listed.value() : QStringList()) {
                if (name.compare(target.category, Qt::CaseInsensitive) == 0) {
                    target.category = name;
                    break;
                }
            }
        }
    }

    void saveOne(const ImportedRecipe& recipe) {
        if (!recipe.canFill()) {
            summary_.skipped.append({recipe.record.name, recipe.refusalReason()});
            return;
        }
        RecipeRecord record = recipe.record;
        QList<ShortenedText> cut = EntryBoxes::fit(record);
        Target& target = targetFor(recipe);
        if (!target.refused.isEmpty()) {
            summary_.skipped.append({record.name, target.refused});
            return;
        }
        const auto added = target.batch->add(record.name, record.fields);
        if (!added) {
            const store::Failure& failure = added.failure();
            if (!failure.isRefusal()) {
                summary_.stopped = u"%1 could not be written (%2)."_s.arg(quoted(record.name),
                                                                          failure.description);
                return;
            }
            summary_.skipped.append({record.name, failureReason(failure)});
            return;
        }
        target.waiting.append({record.name, std::move(cut)});
        ++pending_;
    }

    void commitAll() {
        for (const auto& target : std::as_const(targets_)) {
            if (!target->batch || target->waiting.isEmpty()) {
                continue;
            }
            const QList<store::RecipeBatch::Placed> placed = target->batch->commit();
            for (qsizetype i = 0; i < placed.size() && i < target->waiting.size(); ++i) {
                const Target::Waiting& waiting = target->waiting[i];
                if (placed[i].failure) {
                    summary_.skipped.append({waiting.name, failureReason(*placed[i].failure)});
                    continue;
                }
                count(target->category);
                if (placed[i].name != waiting.name) {
                    summary_.renamed.append({waiting.name, target->category, placed[i].name});
                }
                for (const ShortenedText& text : waiting.cut) {
                    summary_.shortened.append({placed[i].name, target->category, text});
                }
            }
            target->waiting.clear();
        }
        pending_ = 0;
        sinceCommit_.restart();
    }

    void count(const QString& category) {
        for (auto& [name, number] : summary_.imported) {
            if (name == category) {
                ++number;
                return;
            }
        }
        summary_.imported.append({category, 1});
    }

    store::Store& store_;
    const ImportAll::Options& options_;
    const RecipeImporter::Progress& progress_;
    ImportAll::Summary& summary_;
    // In the order of their first recipe; found by the name folded, as a
    // category of one name in any letter case is one folder.
    std::vector<std::unique_ptr<Target>> targets_;
    QHash<QString, std::size_t> byName_;
    qsizetype pending_ = 0;
    int handled_ = 0;
    QElapsedTimer sinceCommit_;
};

}  // namespace

int ImportAll::Summary::importedCount() const {
    int count = 0;
    for (const auto& [category, number] : imported) {
        count += number;
    }
    return count;
}

QString ImportAll::Summary::text() const {
    QStringList lines;
    const int done = importedCount();
    if (done == 0) {
        lines << u"No recipe was imported (of %1)."_s.arg(recipes(offered));
    } else if (imported.size() == 1) {
        lines << u"Imported %1 of %2 into %3."_s.arg(QString::number(done), recipes(offered),
                                                     quoted(imported.constFirst().first));
    } else {
        QStringList parts;
        for (const auto& [category, number] : imported) {
            parts << u"%1 into %2"_s.arg(QString::number(number), quoted(category));
        }
        lines << u"Imported %1 of %2: %3."_s.arg(QString::number(done), recipes(offered),
                                                 parts.join(u", "_s));
    }
    const int rest = offered - handled;
    if (cancelled) {
        lines << u"Cancelled: what was imported until then stays saved; the other %1 "
                 "were not imported."_s.arg(recipes(rest));
    } else if (!stopped.isEmpty()) {
        lines << u"Stopped: %1 The other %2 were not imported."_s.arg(stopped, recipes(rest));
    }
    const bool severalCategories = imported.size() > 1;
    if (!skipped.isEmpty()) {
        lines << QString() << u"Skipped %1:"_s.arg(recipes(skipped.size()));
        for (const Skipped& each : skipped) {
            lines << u"%1: %2"_s.arg(quoted(each.recipe), each.reason);
        }
    }
    if (!renamed.isEmpty()) {
        lines << QString() << u"Saved under another name, as the name was taken:"_s;
        for (const Renamed& each : renamed) {
            lines << u"%1 as %2%3"_s.arg(
                quoted(each.recipe), quoted(each.savedAs),
                severalCategories ? u" in "_s + quoted(each.category) : QString());
        }
    }
    if (!shortened.isEmpty()) {
        lines << QString() << u"Cut to fit their boxes, as the entry screen cuts them:"_s;
        for (const Shortened& each : shortened) {
            if (each.recipe.isEmpty()) {
                lines << u"Category %1, made from %2 (%3 characters; the box takes %4)"_s.arg(
                    quoted(each.category), quoted(each.text.text),
                    QString::number(each.text.text.size()), QString::number(each.text.limit));
                continue;
            }
            lines << quoted(each.recipe) +
                         (severalCategories ? u" in "_s + quoted(each.category) : QString()) +
                         u": "_s + EntryBoxes::shortenedLine(each.text);
        }
    }
    return lines.join(u'\n');
}

ImportAll::Summary ImportAll::run(store::Store& store, const QList<ImportedRecipe>& recipes,
                                  const Options& options,
                                  const RecipeImporter::Progress& progress) {
    Summary summary;
    summary.offered = int(recipes.size());
    Run(store, options, progress, summary).save(recipes);
    return summary;
}

std::optional<QString> ImportAll::refuseSpecialFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isFile() || info.isDir()) {
        return std::nullopt;
    }
    return u"\"%1\" is not a recipe file: it is a device, a pipe or a socket."_s.arg(
        QDir::toNativeSeparators(path));
}

QString ImportAll::ownCategory(const ImportedRecipe& recipe) {
    return recipe.record.category.section(u',', 0, 0).trimmed();
}

bool ImportAll::namesCategories(const QList<ImportedRecipe>& recipes) {
    return std::any_of(recipes.begin(), recipes.end(),
                       [](const ImportedRecipe& recipe) { return !ownCategory(recipe).isEmpty(); });
}

}  // namespace pv::exchange
