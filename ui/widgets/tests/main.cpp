// Runs every suite of the widget framework in one application object. Each
// suite file defines a run function; the exit code counts the failed suites.
#include <QApplication>

int runListBoxTests(int argc, char** argv);
int runMessageBoxTests(int argc, char** argv);
int runProgressBarTests(int argc, char** argv);
int runFormTests(int argc, char** argv);
int runThreadTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = 0;
    for (auto* run :
         {runListBoxTests, runMessageBoxTests, runProgressBarTests, runFormTests, runThreadTests}) {
        failed += run(argc, argv) != 0 ? 1 : 0;
    }
    return failed;
}
