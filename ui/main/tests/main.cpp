// Runs every suite of the main window in one application object. Each suite
// file defines a run function; the exit code counts the failed suites.
#include <QApplication>

int runMainFormTests(int argc, char** argv);
int runLookUpTests(int argc, char** argv);
int runStartupTests(int argc, char** argv);
int runEditingTests(int argc, char** argv);
int runHotKeySelectionTests(int argc, char** argv);
int runPopupKeysTests(int argc, char** argv);
int runCommandLineTests(int argc, char** argv);
int runHotKeyPortalTests(int argc, char** argv);
int runInterfaceTests(int argc, char** argv);
int runWindowPartsTests(int argc, char** argv);
int runMainPartsTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = 0;
    for (auto* run :
         {runMainFormTests, runLookUpTests, runStartupTests, runEditingTests,
          runHotKeySelectionTests, runPopupKeysTests, runCommandLineTests, runHotKeyPortalTests,
          runInterfaceTests, runWindowPartsTests, runMainPartsTests}) {
        failed += run(argc, argv) != 0 ? 1 : 0;
    }
    return failed;
}
