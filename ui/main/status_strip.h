// StatusStrip: the bottom line of the main window. From the left: the search
// mode ("WILDCARDS", "REG. EXPR.", "ANAGRAMS 1" ...; enabled only while a mode
// is on), the switch labels "IGNORE ACCENTS", "CASE SENSITIVE" and
// "AUTOTRANSLATE" (enabled while the switch is on), and the status text, in
// whose place a progress bar shows while a long engine loop runs.
#pragma once

#include <QWidget>

class WProgressBar;
class WStatic;

class StatusStrip : public QWidget {
    Q_OBJECT

public:
    explicit StatusStrip(QWidget* parent);
    ~StatusStrip() override;

    // The mode label: `text` is shown greyed when `on` is false.
    void setMode(const QString& text, bool on);
    void setSwitches(bool ignoreAccents, bool caseSensitive, bool autotranslate);
    void setStatusText(const QString& text);
    QString statusText() const;

    // Hides the status text and shows the bar at 0; endProgress() reverses it.
    void beginProgress();
    void setProgress(int percent);
    void endProgress();
    bool progressShown() const;

    WStatic* modeLabel() const { return m_mode; }
    WProgressBar* progressBar() const { return m_progress; }

private:
    WStatic* m_mode;
    WStatic* m_ignoreAccents;
    WStatic* m_caseSensitive;
    WStatic* m_autotranslate;
    WStatic* m_status;
    WProgressBar* m_progress;
};
