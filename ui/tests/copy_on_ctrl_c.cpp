// A stand-in for an ordinary program with a copy key: a window that, on
// Ctrl+C, puts WORD on the clipboard (never on the primary selection) and
// appends a line to MARK_FILE. Used by the hot-key tests.
//   usage: copy_on_ctrl_c WORD MARK_FILE
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QShortcut>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) return 2;
    const QString word = QString::fromLocal8Bit(argv[1]);
    const QString mark = QString::fromLocal8Bit(argv[2]);
    QLabel window(QStringLiteral("Selected: ") + word);
    window.setWindowTitle(QStringLiteral("copy-on-ctrl-c"));
    window.resize(300, 120);
    auto* copy = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_C), &window);
    QObject::connect(copy, &QShortcut::activated, &window, [word, mark] {
        QApplication::clipboard()->setText(word, QClipboard::Clipboard);
        QFile file(mark);
        if (file.open(QIODevice::Append)) file.write("copied\n");
    });
    window.show();
    return QApplication::exec();
}
