#include "engine/word_list.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "engine/arena.h"
#include "engine/word_index.h"
#include "platform/collation.h"

namespace lexbase {

void BuildFoldingTables(WordList* list, std::uint32_t locale) {
    DropWordIndex(list);  // it hashes through the tables
    list->locale = locale;
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<std::uint8_t>(c);
        std::uint8_t upper = byte, lower = byte, plain = byte;
        platform::MapByte(locale, platform::kLcmapUppercase, byte, &upper);
        platform::MapByte(locale, platform::kLcmapLowercase, byte, &lower);
        platform::MapByte(locale, platform::kNormIgnoreNonSpace, byte, &plain);
        std::uint8_t plain_upper = plain;
        platform::MapByte(locale, platform::kLcmapUppercase, plain, &plain_upper);
        list->upper_table[c] = upper;
        list->lower_table[c] = lower;
        list->accent_free_table[c] = plain;
        list->accent_free_upper_table[c] = plain_upper;
    }
}

std::uint32_t RebuildIndex(WordList* list) {
    DropWordIndex(list);
    arena::ZeroPages(list->bucket_index, sizeof list->bucket_index);
    std::int32_t n = 0;
    for (WordNode* node = list->head; node != nullptr; node = node->next, ++n) {
        const std::string_view word(node->text, node->length);
        if (word.empty()) continue;  // never stored; a guard against a damaged list
        Bucket& bucket = list->bucket_index[BucketOf(word)];
        Bucket& group = list->bucket_index[BucketOf(word.substr(0, 1))];
        if (bucket.first == nullptr) {
            bucket.first = node;
            bucket.first_ordinal = n;
        }
        if (group.first == nullptr) {
            group.first = node;
            group.first_ordinal = n;
        }
        group.last = node;
        group.last_ordinal = n;
        bucket.last = node;
        bucket.last_ordinal = n;
    }
    return static_cast<std::uint32_t>(n);
}

namespace {

WordNode* Scan(WordNode* first, WordNode* end, std::string_view word) {
    for (WordNode* node = first; node != end && node != nullptr; node = node->next) {
        if (node->length != word.size()) continue;
        std::size_t i = word.size();
        while (i > 0 && node->text[i - 1] == word[i - 1]) --i;
        if (i == 0) return node;
    }
    return nullptr;
}

}  // namespace

WordNode* FindWord(WordList* list, std::string_view word) {
    const Bucket& bucket = list->bucket_index[BucketOf(word)];
    if (bucket.first == nullptr) {
        list->scan_first = nullptr;
        list->scan_end = nullptr;
        return nullptr;
    }
    list->scan_first = bucket.first;
    list->scan_end = bucket.last->next;
    return Scan(list->scan_first, list->scan_end, word);
}

WordNode* FindWordQuiet(const WordList* list, std::string_view word) {
    const Bucket& bucket = list->bucket_index[BucketOf(word)];
    if (bucket.first == nullptr) return nullptr;
    return Scan(bucket.first, bucket.last->next, word);
}

WordNode* NewWordNode(std::string_view text) {
    auto* node = static_cast<WordNode*>(arena::AllocatePiece(sizeof(WordNode)));
    if (node == nullptr) return nullptr;
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy == nullptr) {
        arena::FreePiece(node, sizeof(WordNode));
        return nullptr;
    }
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    *node = WordNode{static_cast<std::uint16_t>(text.size()),
                     kTextAlone | kNodeAlone,
                     nullptr,
                     copy,
                     nullptr,
                     nullptr};
    return node;
}

TransLink* NewTransLink(WordNode* target) {
    auto* link = static_cast<TransLink*>(arena::AllocatePiece(sizeof(TransLink)));
    if (link != nullptr) *link = TransLink{nullptr, target};
    return link;
}

bool NewLinkPair(WordNode* word, WordNode* translation, TransLink** forward, TransLink** backward) {
    *forward = NewTransLink(translation);
    *backward = NewTransLink(word);
    if (*forward != nullptr && *backward != nullptr) return true;
    arena::FreePiece(*forward, sizeof(TransLink));
    arena::FreePiece(*backward, sizeof(TransLink));
    *forward = *backward = nullptr;
    return false;
}

void CountNewPair(WordList* words, WordList* translations) {
    words->translation_count += 1;
    translations->translation_count += 1;
    words->links_changed = 1;
    translations->links_changed = 1;
}

void FreeWordNode(WordNode* node) {
    if (node->flags & kTextAlone) std::free(node->text);
    if (node->flags & kNodeAlone) arena::FreePiece(node, sizeof(WordNode));
}

void FreeTransLink(const WordList& list, TransLink* link) {
    // Addresses as integers: the link need not lie in the block at all.
    const auto at = reinterpret_cast<std::uintptr_t>(link);
    const auto first = reinterpret_cast<std::uintptr_t>(list.link_block);
    const bool in_block = list.link_block != nullptr && at >= first &&
                          at - first < std::uintptr_t{list.link_block_count} * sizeof(TransLink);
    if (!in_block) arena::FreePiece(link, sizeof(TransLink));
}

void EmptyList(WordList* list) {
    // Single allocations can exist only once something changed since the
    // blocks were filled.
    if (list->texts_moved || list->nodes_moved || list->links_changed) {
        for (WordNode* node = list->head; node != nullptr;) {
            WordNode* next = node->next;
            for (TransLink* link = node->links; link != nullptr;) {
                TransLink* following = link->next;
                FreeTransLink(*list, link);
                link = following;
            }
            FreeWordNode(node);
            node = next;
        }
    }
    DropWordIndex(list);
    std::free(list->text_block);
    arena::FreeBlock(list->node_block);
    arena::FreeBlock(list->link_block);
    list->text_block = nullptr;
    list->node_block = nullptr;
    list->link_block = nullptr;
    list->link_block_count = 0;
    list->node_block_count = 0;
    list->head = list->tail = nullptr;
    list->word_count = list->text_bytes = list->translation_count = 0;
    arena::ZeroPages(list->bucket_index, sizeof list->bucket_index);
    list->texts_moved = list->nodes_moved = list->links_changed = 0;
    list->scan_first = list->scan_end = nullptr;
}

void FreeListContents(WordList* list) {
    EmptyList(list);
    std::free(list->regex_tables);
    // Everything but the bucket index, which EmptyList emptied.
    auto* bytes = reinterpret_cast<char*>(list);
    const std::size_t buckets = offsetof(WordList, bucket_index);
    const std::size_t after = buckets + sizeof list->bucket_index;
    std::memset(bytes, 0, buckets);
    std::memset(bytes + after, 0, sizeof *list - after);
}

}  // namespace lexbase
