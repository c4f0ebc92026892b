// HotKeySelection: reads the word the user selected in another program when
// the hot key fires. The selected text is the PRIMARY selection, read without
// sending any key. Only when PRIMARY is empty, and the focused program may be
// sent a copy key (not a terminal, where Ctrl+C interrupts the running
// command), is Ctrl+C played; the clipboard's earlier contents, every format
// it held, are then put back, so the user's clipboard is never left changed.
// Where no copy key may be sent, the clipboard is read as it is.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QMimeData;
class QTimer;

class HotKeySelection : public QObject {
    Q_OBJECT

public:
    // What the reader asks of the desktop; the program supplies the X11
    // ones, the tests their own.
    struct Desktop {
        // The PRIMARY selection's text; empty when nobody owns it.
        std::function<QString()> primary;
        // Whether a synthesised Ctrl+C may go to the focused program now.
        std::function<bool()> mayCopy;
        // Plays Ctrl+C into the focused program and calls `played` on the
        // user-interface thread afterwards (also when it could not play).
        std::function<void(std::function<void()> played)> playCopy;
    };

    // Formats larger than this are not kept (and so not put back).
    static constexpr qsizetype kMaxKeptFormatBytes = 32 * 1024 * 1024;
    // How long the other program gets to answer the copy key.
    static constexpr int kCopyWaitMs = 600;

    explicit HotKeySelection(Desktop desktop, QObject* parent = nullptr);
    ~HotKeySelection() override;

    // Reads the selection and calls `done` with its text (possibly empty) on
    // the user-interface thread. While a read waits for its copy, a new one
    // is refused (`done` is not called): the copy under way answers, and the
    // clipboard it changes is put back.
    void read(std::function<void(const QString&)> done);
    bool busy() const { return m_done != nullptr; }

    // The X11 desktop of the running program.
    static Desktop x11Desktop(std::function<void(std::function<void()>)> playCopy);

    // A copy of every format the clipboard holds now (null when it is empty).
    static std::unique_ptr<QMimeData> snapshotClipboard();

private:
    void copied();
    void finish(const QString& text);

    Desktop m_desktop;
    std::function<void(const QString&)> m_done;
    std::unique_ptr<QMimeData> m_saved;
    QString m_textBefore;
    bool m_changed = false;
    QTimer* m_wait = nullptr;
};
