// Measures how quickly the main window shows the words for each keystroke:
// words are typed letter by letter into the search box of a real dictionary,
// and the time from each change to the list showing its result is set against
// the engine's own DB_List time for the same prefix (the baseline: the work
// that cannot be avoided). Prints one row per prefix and the overall ratio.
//
// Usage: ui_main_bench [DICTIONARY.v03]   (default: the English-Croatian
// FreeDict database, converted with wordbay-cli beside this program)
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/search_controller.h"
#include "engine/lexbase.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_form.h"
#include "ui/main/search_edit.h"
#include "ui/widgets/w_list_box.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

constexpr int kRepeats = 5;
const char* const kWords[] = {"house", "water",    "table",  "light",  "stone",
                              "bread", "mountain", "window", "garden", "question"};

double engineMs(DB_HANDLE db, const std::string& prefix, std::vector<const char*>* out,
                int* count) {
    double best = 1e9;
    for (int r = 0; r < kRepeats; ++r) {
        QElapsedTimer t;
        t.start();
        const DB_RESULT* res = DB_List(db, DB_PRIMARY_LIST, prefix.c_str(), 0, 1, DB_LIST_PREFIX,
                                       out->data(), static_cast<int32_t>(out->size()));
        best = std::min(best, t.nsecsElapsed() / 1e6);
        *count = res->status != 0 ? res->count : 0;
    }
    return best;
}

// Types `prefix` as the new text of the box and waits until the list shows
// a result of `count` words that it did not show before.
double windowMs(SearchEdit* edit, WListBox* list, const QString& prefix, int count) {
    const char* const* before = list->items();
    QElapsedTimer t;
    t.start();
    edit->setText(prefix);
    while (!(list->items() != before && list->items() != nullptr && list->count() == count)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (t.elapsed() > 10000) return -1;
    }
    return t.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("database"));
    const QString dictionary = dir.filePath(QStringLiteral("database/English_Croatian.v03"));
    if (argc > 1) {
        QFile::copy(QString::fromLocal8Bit(argv[1]), dictionary);
    } else {
        const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/wordbay-cli");
        QProcess::execute(cli, {QStringLiteral("freedict"), QStringLiteral("eng-hrv"), dictionary});
    }
    QFile ini(dir.filePath(QStringLiteral("wordbay.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write(
        "[dictionary]\ncurrent=English_Croatian.v03\n[options]\nshowsplash=0\n"
        "[hotkey]\nusehotkeys=0\n");
    ini.close();

    DB_HANDLE db = DB_CreateHandle()->handle;
    if (DB_Load(db, DB_FORMAT_V03_LOAD, dictionary.toLocal8Bit().constData(), 0, 0)->status == 0) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(dictionary));
        return 1;
    }
    DICTIONARY_INFO info{};
    DB_GetDictionaryInfo(db, &info);
    std::vector<const char*> out(info.primary_word_count + 40);

    MainForm form(wordbay::PathsInside(dir.path().toStdString()));
    if (!form.createWindow()) return 1;
    form.windows()->create();
    form.showAtStoredPlace();
    QElapsedTimer wait;
    wait.start();
    while (!(form.controller()->slot(SlotId::kMain).loaded() && !form.controller()->busy())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (wait.elapsed() > 30000) return 1;
    }
    SearchEdit* edit = form.pane(SlotId::kMain)->edit(ListSide::kPrimary);
    WListBox* list = form.pane(SlotId::kMain)->list(ListSide::kPrimary);

    std::printf("%-10s %8s %12s %12s %8s\n", "prefix", "words", "window ms", "engine ms", "ratio");
    double windowTotal = 0;
    double engineTotal = 0;
    for (const char* word : kWords) {
        edit->setText(QString());
        QCoreApplication::processEvents();
        const std::string w(word);
        for (std::size_t n = 1; n <= w.size(); ++n) {
            const std::string prefix = w.substr(0, n);
            int count = 0;
            const double engine = engineMs(db, prefix, &out, &count);
            if (count == 0) break;
            double best = 1e9;
            for (int r = 0; r < kRepeats; ++r) {
                edit->setText(QString());
                while (list->count() != 0) QCoreApplication::processEvents();
                const double ms = windowMs(edit, list, QString::fromStdString(prefix), count);
                if (ms >= 0) best = std::min(best, ms);
            }
            windowTotal += best;
            engineTotal += engine;
            std::printf("%-10s %8d %12.3f %12.3f %8.2f\n", prefix.c_str(), count, best, engine,
                        best / std::max(engine, 1e-6));
        }
    }
    std::printf("\ntotal: window %.1f ms, engine %.1f ms, ratio %.2f\n", windowTotal, engineTotal,
                windowTotal / std::max(engineTotal, 1e-6));
    DB_DestroyHandle(db);
    form.close();
    return 0;
}
