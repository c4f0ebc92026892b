#include "ui/main/suggestion_menu.h"

#include <QMenu>
#include <QPointer>

#include "ui/main/search_edit.h"

void showSuggestionMenu(SearchEdit* edit, const QStringList& words) {
    if (edit == nullptr || words.isEmpty() || !edit->isVisible()) return;
    auto* menu = new QMenu(edit);
    menu->setObjectName(QStringLiteral("suggestionMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<SearchEdit> target(edit);
    for (const QString& word : words) {
        menu->addAction(word, edit, [target, word] {
            if (target) target->setText(word);
        });
    }
    menu->popup(edit->mapToGlobal(QPoint(0, edit->height())));
}
