#include "ui/popup/word_forms_label.h"

#include <QUrl>

#include "app/message_table.h"

namespace {

QString uiString(wordbay::TextId id) { return QString::fromUtf8(wordbay::UiText(id)); }
QString utf8(const std::string& s) { return QString::fromStdString(s); }

// "%s: form of %s" with its places filled.
QString filled(wordbay::TextId id, const QString& first, const QString& second) {
    QString t = uiString(id);
    t.replace(t.indexOf(QStringLiteral("%s")), 2, first);
    const int at = t.indexOf(QStringLiteral("%s"));
    if (at >= 0) t.replace(at, 2, second);
    return t;
}

QString joined(const std::vector<std::string>& words) {
    QStringList list;
    for (const std::string& w : words) list << utf8(w);
    return list.join(QStringLiteral(", "));
}

}  // namespace

WordFormsLabel::WordFormsLabel(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("popupWordForms"));
    setWordWrap(true);
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setMargin(2);
    hide();
    connect(this, &QLabel::linkActivated, this, [this](const QString& link) {
        emit suggestionChosen(QUrl::fromPercentEncoding(link.mid(5).toUtf8()));
    });
}

void WordFormsLabel::setNote(const wordbay::WordFormsNote& note) {
    if (note.empty()) {
        clear();
        hide();
        return;
    }
    QStringList parts;
    const QString query = utf8(note.query).toHtmlEscaped();
    if (!note.base.empty()) {
        parts << QStringLiteral("<b>%1</b>")
                     .arg(filled(wordbay::TextId::MSG_FORM_OF, query,
                                 utf8(note.base).toHtmlEscaped()));
    }
    for (const auto& form : note.forms) {
        parts << QStringLiteral("<b>%1</b>: %2")
                     .arg(filled(wordbay::TextId::MSG_ALSO_FORM_OF, query,
                                 utf8(form.word).toHtmlEscaped()),
                          joined(form.translations).toHtmlEscaped());
    }
    if (!note.suggestions.empty()) {
        QStringList links;
        for (const std::string& s : note.suggestions) {
            const QString word = utf8(s);
            links << QStringLiteral("<a href=\"word:%1\">%2</a>")
                         .arg(QString::fromUtf8(QUrl::toPercentEncoding(word)),
                              word.toHtmlEscaped());
        }
        parts << QStringLiteral("%1: %2?").arg(
            uiString(wordbay::TextId::MSG_DID_YOU_MEAN).toHtmlEscaped(),
            links.join(QStringLiteral(", ")));
    }
    setText(parts.join(QStringLiteral("<br>")));
    show();
}

QStringList wordFormsLines(const wordbay::WordFormsNote& note) {
    QStringList lines;
    const QString query = utf8(note.query);
    if (!note.base.empty()) lines << filled(wordbay::TextId::MSG_FORM_OF, query, utf8(note.base));
    for (const auto& form : note.forms) {
        lines << filled(wordbay::TextId::MSG_ALSO_FORM_OF, query, utf8(form.word)) +
                     QStringLiteral(": ") + joined(form.translations);
    }
    if (!note.suggestions.empty()) {
        lines << uiString(wordbay::TextId::MSG_DID_YOU_MEAN) + QStringLiteral(": ") +
                     joined(note.suggestions) + QStringLiteral("?");
    }
    return lines;
}
