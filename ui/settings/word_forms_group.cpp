#include "ui/settings/word_forms_group.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>

#include "app/message_table.h"
#include "forms/speller.h"

QGroupBox* createWordFormsGroup(QWidget* parent, bool* word_forms) {
    using wordbay::TextId;
    using wordbay::UiText;
    auto* group = new QGroupBox(QString::fromUtf8(UiText(TextId::MSG_WORD_FORMS)), parent);
    group->setObjectName(QStringLiteral("wordFormsGroup"));
    auto* layout = new QVBoxLayout(group);
    auto* box = new QCheckBox(QString::fromUtf8(UiText(TextId::MSG_USE_WORD_FORMS)), group);
    box->setObjectName(QStringLiteral("wordFormsBox"));
    box->setChecked(word_forms != nullptr && *word_forms);
    box->setEnabled(word_forms != nullptr);
    if (word_forms != nullptr) {
        QObject::connect(box, &QCheckBox::toggled, group,
                         [word_forms](bool on) { *word_forms = on; });
    }
    layout->addWidget(box);
    QStringList names;
    for (const forms::SpellerFiles& f : forms::InstalledSpellers()) {
        names << QString::fromStdString(f.name);
    }
    const QString installed = names.isEmpty()
                                  ? QString::fromUtf8(UiText(TextId::MSG_NO_SPELLING_DICTIONARIES))
                                  : names.join(QStringLiteral(", "));
    auto* label = new QLabel(
        QString::fromUtf8(UiText(TextId::MSG_SPELLING_DICTIONARIES)) + QLatin1Char(' ') + installed,
        group);
    label->setObjectName(QStringLiteral("spellingDictionaries"));
    label->setWordWrap(true);
    layout->addWidget(label);
    return group;
}
