#include "ui/dialogs/dlg_info.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "app/catalogue.h"
#include "app/dictionary_creation.h"
#include "platform/locale.h"
#include "ui/dialogs/dialog_support.h"
#include "ui/widgets/locale_list.h"

using wordbay::TextId;

namespace {

constexpr std::uint32_t kUserDefaultLcid = 1024;
constexpr std::uint32_t kEnglishLcid = 1033;
constexpr std::size_t kPrimary = 0;
constexpr std::size_t kSecondary = 1;

struct ModeTexts {
    TextId caption;
    TextId accept;
};

ModeTexts modeTexts(DlgInfo::Mode mode) {
    switch (mode) {
        case DlgInfo::Mode::kImport:
            return {TextId::MSG_IMPORTING_DATABASE, TextId::MSG_IMPORT};
        case DlgInfo::Mode::kOpenDictionary:
            return {TextId::MSG_DICTIONARY_INFO, TextId::MSG_CHANGE};
        case DlgInfo::Mode::kCreate:
            return {TextId::MSG_CREATE_NEW_DICTIONARY, TextId::MSG_CREATE};
        case DlgInfo::Mode::kUpdate:
            break;
    }
    return {TextId::MSG_UPDATE_DICTIONARY, TextId::MSG_UPDATE};
}

}  // namespace

DlgInfo::DlgInfo(Mode mode, Inputs inputs, QWidget* parent)
    : WDialog(parent), m_mode(mode), m_inputs(std::move(inputs)) {
    setObjectName("dlgInfo");
    createControls();
    if (m_mode == Mode::kOpenDictionary) {
        if (m_inputs.current) {
            m_sortedInfo = *m_inputs.current;
            m_haveSortedInfo = true;
            setInfo(*m_inputs.current);
        } else {
            // Nothing chosen: the description stored at the change is kept
            // where the user chooses nothing.
            for (ListFields& list : m_lists) {
                list.locale->setCurrentIndex(-1);
                list.charset->setCurrentIndex(-1);
            }
        }
        showSummary();
    } else {
        // A new description starts in the user's language (as a real LCID:
        // a stored "user default" would sort differently for every user) and
        // the first character set.
        const LocaleList& locales = LocaleList::instance();
        const int userRow = locales.indexOf(kUserDefaultLcid);
        DICTIONARY_INFO info{};
        info.primary_locale = info.secondary_locale =
            userRow >= 0 ? locales.lcid(userRow) : kEnglishLcid;
        setInfo(info);
    }
}

DlgInfo::~DlgInfo() = default;

QGridLayout* DlgInfo::createListFields() {
    // The two lists side by side: list name, language, character set.
    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(dialogs::text(TextId::MSG_PRIMARY_LIST), this), 0, 1);
    lists->addWidget(new QLabel(dialogs::text(TextId::MSG_SECONDARY_LIST), this), 0, 2);
    lists->addWidget(new QLabel(dialogs::text(TextId::MSG_LIST_NAME), this), 1, 0);
    lists->addWidget(new QLabel(dialogs::text(TextId::MSG_LANGUAGE), this), 2, 0);
    lists->addWidget(new QLabel(dialogs::text(TextId::MSG_CHARSET), this), 3, 0);
    const LocaleList& locales = LocaleList::instance();
    const char* const prefixes[2] = {"primary", "secondary"};
    for (std::size_t side = 0; side < 2; ++side) {
        ListFields& list = m_lists[side];
        const QString prefix = QString::fromLatin1(prefixes[side]);
        list.name = new QLineEdit(this);
        list.name->setObjectName(prefix + "NameEdit");
        list.name->setMaxLength(kMaxListName);
        list.locale = new QComboBox(this);
        list.locale->setObjectName(prefix + "LocaleBox");
        for (int i = 0; i < locales.count(); ++i) {
            list.locale->addItem(locales.name(i), QVariant::fromValue(locales.lcid(i)));
        }
        list.charset = new QComboBox(this);
        list.charset->setObjectName(prefix + "CharsetBox");
        for (const dialogs::Charset& charset : dialogs::charsets()) {
            list.charset->addItem(QString::fromLatin1(charset.name),
                                  QVariant::fromValue(charset.value));
        }
        const int column = int(side) + 1;
        lists->addWidget(list.name, 1, column);
        lists->addWidget(list.locale, 2, column);
        lists->addWidget(list.charset, 3, column);
    }
    return lists;
}

QGroupBox* DlgInfo::createDescriptionFields() {
    auto* dictionary = new QGroupBox(dialogs::text(TextId::MSG_DICTIONARY), this);
    auto* fields = new QGridLayout(dictionary);
    const struct {
        TextId label;
        QLineEdit** edit;
        const char* objectName;
    } rows[] = {{TextId::MSG_NAME, &m_name, "dictionaryNameEdit"},
                {TextId::MSG_AUTHOR, &m_author, "authorEdit"},
                {TextId::MSG_DESCRIPTION, &m_description, "descriptionEdit"}};
    int row = 0;
    for (const auto& r : rows) {
        *r.edit = new QLineEdit(dictionary);
        (*r.edit)->setObjectName(QString::fromLatin1(r.objectName));
        (*r.edit)->setMaxLength(kMaxText);
        fields->addWidget(new QLabel(dialogs::text(r.label), dictionary), row, 0);
        fields->addWidget(*r.edit, row++, 1);
    }
    return dictionary;
}

void DlgInfo::createControls() {
    const ModeTexts texts = modeTexts(m_mode);
    setWindowTitle(dialogs::text(texts.caption));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(createListFields());
    layout->addWidget(createDescriptionFields());
    if (m_mode == Mode::kOpenDictionary) {
        auto* info = new QGroupBox(dialogs::text(TextId::MSG_INFO), this);
        m_summary = new QLabel(info);
        m_summary->setObjectName("summaryLabel");
        m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
        (new QVBoxLayout(info))->addWidget(m_summary);
        layout->addWidget(info);
    }

    auto* accept = new QPushButton(dialogs::text(texts.accept), this);
    accept->setObjectName("acceptButton");
    accept->setDefault(true);
    addButton(accept, kIdOk);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(accept);
    if (m_mode == Mode::kOpenDictionary) {
        auto* apply = new QPushButton(dialogs::text(TextId::MSG_APPLY), this);
        apply->setObjectName("applyButton");
        apply->setAutoDefault(false);
        connect(apply, &QPushButton::clicked, this, [this] {
            if (checkFields()) applyToDictionary();
        });
        buttons->addWidget(apply);
    }
    auto* cancel = new QPushButton(dialogs::text(TextId::MSG_CANCEL), this);
    cancel->setObjectName("cancelButton");
    cancel->setAutoDefault(false);
    addButton(cancel, kIdCancel);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

void DlgInfo::setInfo(const DICTIONARY_INFO& info) {
    m_info = info;
    const LocaleList& locales = LocaleList::instance();
    const std::uint32_t localesOf[2] = {info.primary_locale, info.secondary_locale};
    const std::uint32_t charsetsOf[2] = {info.primary_charset, info.secondary_charset};
    const char* const namesOf[2] = {info.primary_list_name, info.secondary_list_name};
    for (std::size_t side = 0; side < 2; ++side) {
        ListFields& list = m_lists[side];
        list.known = true;
        list.initialLocale = localesOf[side];
        list.initialLocaleRow = locales.indexOf(localesOf[side]);
        list.locale->setCurrentIndex(list.initialLocaleRow);
        list.initialCharset = charsetsOf[side];
        list.charset->setCurrentIndex(dialogs::charsetRow(charsetsOf[side]));
        list.name->setText(dialogs::fieldText(
            platform::ListCodePage(localesOf[side], charsetsOf[side]), namesOf[side], 40));
    }
    const std::uint32_t page = platform::ListCodePage(info.primary_locale, info.primary_charset);
    m_name->setText(dialogs::fieldText(page, info.name));
    m_author->setText(dialogs::fieldText(page, info.author));
    m_description->setText(dialogs::fieldText(page, info.description));
}

void DlgInfo::showSummary() {
    if (m_summary == nullptr) return;
    const QString line = QStringLiteral("%1: %2 %3\n");
    const QString words = dialogs::text(TextId::MSG_WORDS);
    m_summary->setText(
        line.arg(dialogs::text(TextId::MSG_PRIMARY_LIST))
            .arg(m_info.primary_word_count)
            .arg(words) +
        line.arg(dialogs::text(TextId::MSG_SECONDARY_LIST))
            .arg(m_info.secondary_word_count)
            .arg(words) +
        line.arg(dialogs::text(TextId::MSG_TRANSLATIONS))
            .arg(m_info.primary_translation_count)
            .arg(words) +
        line.arg(dialogs::text(TextId::MSG_SIZE))
            .arg(m_info.memory_size)
            .arg(dialogs::text(TextId::MSG_BYTES)) +
        QStringLiteral("%1: %2").arg(dialogs::text(TextId::MSG_FILE),
                                     dialogs::pathText(dialogs::fileNameOf(m_inputs.path))));
}

int DlgInfo::resortLists() const {
    if (m_mode != Mode::kOpenDictionary) return 0;
    int bits = 0;
    if (m_info.primary_locale != m_sortedInfo.primary_locale) bits |= kPrimaryLocaleChanged;
    if (m_info.secondary_locale != m_sortedInfo.secondary_locale) bits |= kSecondaryLocaleChanged;
    return bits;
}

std::uint32_t DlgInfo::chosenLocale(const ListFields& list, std::uint32_t base) const {
    const int row = list.locale->currentIndex();
    // The row first shown stands for the value set, which may be one of the
    // default LCIDs that the list shows resolved, or one it does not list.
    if (row >= 0 && row != list.initialLocaleRow) return list.locale->itemData(row).toUInt();
    return list.known ? list.initialLocale : base;
}

std::uint32_t DlgInfo::chosenCharset(const ListFields& list, std::uint32_t base) const {
    const int row = list.charset->currentIndex();
    if (row >= 0) return list.charset->itemData(row).toUInt();
    return list.known ? list.initialCharset : base;
}

DICTIONARY_INFO DlgInfo::fieldsInfo(const DICTIONARY_INFO& base) const {
    DICTIONARY_INFO info = base;
    info.primary_locale = chosenLocale(m_lists[kPrimary], base.primary_locale);
    info.secondary_locale = chosenLocale(m_lists[kSecondary], base.secondary_locale);
    info.primary_charset = chosenCharset(m_lists[kPrimary], base.primary_charset);
    info.secondary_charset = chosenCharset(m_lists[kSecondary], base.secondary_charset);
    if (m_mode == Mode::kCreate || m_mode == Mode::kImport) {
        // New lists of a language without an 8-bit code page are UTF-8 (the
        // engine makes them so), and their names with them.
        info.primary_charset =
            platform::CharsetForNewList(info.primary_locale, info.primary_charset);
        info.secondary_charset =
            platform::CharsetForNewList(info.secondary_locale, info.secondary_charset);
    }
    const std::uint32_t page = platform::ListCodePage(info.primary_locale, info.primary_charset);
    dialogs::setField(info.primary_list_name,
                      dialogs::encodeField(page, m_lists[kPrimary].name->text(), kMaxListName));
    dialogs::setField(
        info.secondary_list_name,
        dialogs::encodeField(platform::ListCodePage(info.secondary_locale, info.secondary_charset),
                             m_lists[kSecondary].name->text(), kMaxListName));
    dialogs::setField(info.name, dialogs::encodeField(page, m_name->text(), kMaxText));
    dialogs::setField(info.author, dialogs::encodeField(page, m_author->text(), kMaxText));
    dialogs::setField(info.description,
                      dialogs::encodeField(page, m_description->text(), kMaxText));
    return info;
}

wordbay::DescriptionTexts DlgInfo::typedTexts() const {
    return {m_name->text().toStdString(), m_author->text().toStdString(),
            m_description->text().toStdString(), m_lists[kPrimary].name->text().toStdString(),
            m_lists[kSecondary].name->text().toStdString()};
}

bool DlgInfo::checkFields() {
    const struct {
        QLineEdit* edit;
        TextId message;
    } required[] = {{m_lists[kPrimary].name, TextId::MSG_NEED_PRIMARY_LIST_NAME},
                    {m_lists[kSecondary].name, TextId::MSG_NEED_SECONDARY_LIST_NAME},
                    {m_name, TextId::MSG_NEED_DICTIONARY_NAME}};
    for (const auto& field : required) {
        if (!field.edit->text().isEmpty()) continue;
        dialogs::showMessage(this, dialogs::text(field.message), TextId::MSG_ERROR,
                             kMbOk | kMbIconExclamation);
        field.edit->setFocus();
        return false;
    }
    return true;
}

bool DlgInfo::applyToDictionary() {
    wordbay::DescriptionChange change;
    if (m_inputs.apply) {
        change =
            m_inputs.apply([this](const DICTIONARY_INFO& current) { return fieldsInfo(current); });
    } else {
        change.failure = TextId::MSG_CANT_GET_DICTIONARY_INFO;
    }
    if (!change.changed) {
        dialogs::reportFailure(this, change.failure, QString(), change.engine_message.c_str());
        return false;
    }
    if (!m_haveSortedInfo) {
        // The description could not be read when the dialog opened: the
        // lists are sorted by the locales stored before this change.
        m_sortedInfo = change.before;
        m_haveSortedInfo = true;
    }
    m_info = change.stored;
    // What is shown now is the stored description.
    setInfo(m_info);
    showSummary();
    emit infoChanged();
    return true;
}

std::string DlgInfo::chooseOtherFile(const std::string& proposed) {
    const QString chosen = QFileDialog::getSaveFileName(this, dialogs::text(TextId::MSG_SAVE),
                                                        dialogs::pathText(proposed),
                                                        QStringLiteral("KX3 database (*.v03)"));
    if (chosen.isEmpty()) return std::string();
    std::string path = dialogs::pathBytes(chosen);
    if (dialogs::fileNameOf(path).find('.') == std::string::npos) path += ".v03";
    return path;
}

bool DlgInfo::createDictionary() {
    const wordbay::CreationResult result = wordbay::CreateDictionary(
        m_info, m_inputs.databaseDir, m_inputs.catalogue, [this](const std::string& proposed) {
            const QString question =
                QStringLiteral("%1\n\n%2\n\n%3")
                    .arg(dialogs::text(TextId::MSG_FILENAME_EXISTS), dialogs::pathText(proposed),
                         dialogs::text(TextId::MSG_OVERWRITE_DICTIONARY_QUESTION));
            const int answer = dialogs::showMessage(this, question, TextId::MSG_SAVE,
                                                    kMbYesNoCancel | kMbIconQuestion);
            if (answer == kIdYes) return proposed;
            return answer == kIdNo ? chooseOtherFile(proposed) : std::string();
        });
    if (result.created) {
        m_createdPath = result.path;
        return true;
    }
    if (!result.cancelled) {
        dialogs::reportFailure(this, result.failure, dialogs::pathText(result.detail),
                               result.engine_message.c_str());
    }
    return false;
}

void DlgInfo::onOk() {
    if (!checkFields()) return;
    switch (m_mode) {
        case Mode::kOpenDictionary:
            if (!applyToDictionary()) return;
            endDialog(kIdOk);
            return;
        case Mode::kCreate:
            m_info = fieldsInfo(DICTIONARY_INFO{});
            // The dialog closes whether the dictionary could be made or not.
            endDialog(createDictionary() ? kIdOk : kIdCancel);
            return;
        case Mode::kImport:
        case Mode::kUpdate:
            break;
    }
    m_info = fieldsInfo(DICTIONARY_INFO{});
    endDialog(kIdOk);
}
