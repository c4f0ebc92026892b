// Runs every suite of the dictionary dialogs in one application object. Each
// suite file defines a run function; the exit code counts the failed suites.
#include <QApplication>

int runAboutTests(int argc, char** argv);
int runFreelangImportTests(int argc, char** argv);
int runInfoTests(int argc, char** argv);
int runLanguageTests(int argc, char** argv);
int runLoadDicTests(int argc, char** argv);
int runPluginTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = 0;
    for (auto* run : {runAboutTests, runFreelangImportTests, runInfoTests, runLanguageTests,
                      runLoadDicTests, runPluginTests}) {
        failed += run(argc, argv) != 0 ? 1 : 0;
    }
    return failed;
}
