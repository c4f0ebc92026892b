// DlgAbout: the program's name and version and the libraries it is built
// on, each with its licence and a link to its home page.
#pragma once

#include <QString>

#include "ui/widgets/w_dialog.h"

class DlgAbout : public WDialog {
    Q_OBJECT

public:
    explicit DlgAbout(QWidget* parent = nullptr);
    ~DlgAbout() override;

    // The version the program was built as ("3.0.0").
    static QString version();
};
