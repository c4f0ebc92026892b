// Runs every suite of the settings dialog and the character map in one
// application object; the exit code counts the failed suites.
#include <QApplication>

int runConfigPageTests(int argc, char** argv);
int runColorPageTests(int argc, char** argv);
int runSpeechPageTests(int argc, char** argv);
int runDialogTests(int argc, char** argv);
int runCharmapTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = 0;
    for (auto* run : {runConfigPageTests, runColorPageTests, runSpeechPageTests, runDialogTests,
                      runCharmapTests}) {
        failed += run(argc, argv) != 0 ? 1 : 0;
    }
    return failed;
}
