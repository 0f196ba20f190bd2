// Printing a long shopping list to a PDF file: the cost of measuring every
// word before it is printed.
#include "shopprint.h"
#include "store.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QApplication* app() {
    static int argc = 1;
    static char name[] = "bench_shopprint";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return instance;
}

void BM_PrintShoppingList(benchmark::State& state) {
    app();
    QTemporaryDir dir;
    const pv::store::Store store(dir.path());
    QDir(dir.path()).mkpath(QStringLiteral("Shopping List"));
    QFile file(dir.filePath(QStringLiteral("Shopping List/list.txt")));
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the list");
        return;
    }
    for (int line = 0; line < state.range(0); ++line) {
        file.write("2 lb apples, 1 doz eggs, a loaf of bread and some butter " +
                   QByteArray::number(line) + "\r\n");
    }
    file.close();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("list.pdf")));
    for (auto _ : state) {
        if (!pv::printShoppingList(store, QStringLiteral("list.txt"), &printer)) {
            state.SkipWithError("printing failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PrintShoppingList)->Arg(100)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
