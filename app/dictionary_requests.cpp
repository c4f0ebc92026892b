#include "app/dictionary_requests.h"

#include "app/message_box_style.h"
#include "app/message_table.h"

namespace wordbay {

Message UpdateQuestion(const DictionarySlot& main, const std::string& path) {
    return {std::string(UiText(TextId::MSG_DO_YOU_WANT_TO_UPDATE)) + "\n\n" +
                main.ListNameUtf8(main.source_side()) + " - " +
                main.ListNameUtf8(main.target_side()) + "\n\n" + UiText(TextId::MSG_WITH_FILE) +
                ":\n\n" + path,
            UiText(TextId::MSG_UPDATE_DICTIONARY_QUESTION), kMbYesNoCancel | kMbIconQuestion};
}

void DictionaryRequests::Detach(bool with_dual) {
    ++*epoch_;
    lists_->ClearSlot(SlotId::kMain);
    if (with_dual) lists_->ClearSlot(SlotId::kDual);
}

void DictionaryRequests::Resort(int changed_lists) {
    if (d_->main().loaded()) Detach(false);
    Post(wordbay::Resort{changed_lists});
}

void DictionaryRequests::Update(int format, const std::string& path) {
    if (d_->main().loaded()) Detach(d_->dual().loaded());
    Post(wordbay::Update{format, path});
}

}  // namespace wordbay
