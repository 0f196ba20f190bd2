#pragma once

#include "recipeimporter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QThread;

namespace pv {

// A long import run off the window's thread: the windows stay responsive, and
// once the work has taken longer than a moment the progress window shows how
// far it has come, with Cancel. One task at a time.
class ImportTask : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(const exchange::RecipeImporter::Progress& progress)>;
    using Done = std::function<void(bool cancelled)>;

    // How long the work runs before the progress window shows.
    static constexpr int kQuietMs = 400;

    // Runs work on a worker thread, then done on the window's thread; message
    // says in the progress window what is being done, which shows over the
    // window over (the active one when none). False, and nothing started,
    // while another task runs.
    static bool start(const QString& message, Work work, Done done, QWidget* over = nullptr);
    static bool running();

    // Tests: the quiet time before the progress window shows (kQuietMs when
    // negative), and a step the worker takes before the work (to hold it).
    static void setQuietMs(int milliseconds);
    static void setBeforeWork(std::function<void()> step);

    ~ImportTask() override;
    Q_DISABLE_COPY(ImportTask)

private:
    struct Shared;
    ImportTask();
    void tick();
    void finish();

    static QPointer<ImportTask>& current();

    std::shared_ptr<Shared> shared_;
    QThread* thread_ = nullptr;
    Done done_;
    QString message_;
    // The window the user was in: the progress window shows over it.
    QPointer<QWidget> origin_;
    QTimer ticker_;
    QElapsedTimer elapsed_;
    bool shown_ = false;
};

}  // namespace pv
