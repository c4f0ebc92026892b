// Merging in time linear in the two dictionaries. Adding pair after pair
// through DB_AddTranslation would walk the stretch of each new word's prefix
// to find its place, a stretch that grows with the list, and each word's
// chain to find a link: a large merge then costs the square of its size.
// Here the words are found through hash tables, the new words of each list
// are sorted once and merged into the list in one pass, and links are found
// through a hash set. A small merge keeps the word-by-word insertion, which
// is cheaper for a handful of words; both give the same dictionary.
#include "engine/formats/merge.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/lexbase.h"
#include "engine/messages.h"
#include "engine/result.h"
#include "engine/word_index.h"
#include "engine/word_insert.h"
#include "engine/word_list.h"
#include "platform/collation.h"

namespace lexbase {
namespace {

// Fewer new words than this in a list go in one by one.
constexpr std::size_t kBatchFrom = 256;

// The words of one list by their text, and the words new to it.
class ListWords {
public:
    explicit ListWords(WordList* list) : list_(list) {
        words_.reserve(list->word_count);
        for (WordNode* node = list->head; node != nullptr; node = node->next) {
            words_.emplace(std::string_view(node->text, node->length), node);
        }
    }

    // The node of `text`, made (outside the list until Place()) when it is new.
    WordNode* Get(std::string_view text) {
        const auto found = words_.find(text);
        if (found != words_.end()) return found->second;
        WordNode* const node = NewWordNode(text);
        if (node == nullptr) return nullptr;
        fresh_.push_back(node);
        words_.emplace(std::string_view(node->text, node->length), node);
        return node;
    }

    // Puts the new words at their places: in front of the first word that
    // sorts after them, after the words that collate equal, in the order
    // they came among themselves.
    void Place() {
        if (fresh_.empty()) return;
        if (fresh_.size() < kBatchFrom) {
            for (WordNode*& node : fresh_) InsertAlone(&node);
            fresh_.clear();
            return;
        }
        std::vector<std::pair<std::string, WordNode*>> keyed;
        keyed.reserve(fresh_.size());
        for (WordNode* node : fresh_) {
            std::string key;
            platform::AppendSortKey(list_->locale, {node->text, node->length}, &key);
            keyed.emplace_back(std::move(key), node);
        }
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        WordNode* x = list_->head;
        std::uint64_t bytes = 0;
        for (const auto& entry : keyed) {
            WordNode* const node = entry.second;
            const std::string_view text(node->text, node->length);
            while (x != nullptr &&
                   platform::CompareText(list_->locale, 0, {x->text, x->length}, text) <= 0) {
                x = x->next;
            }
            LinkBefore(node, x);
            bytes += node->length + 1u;
        }
        list_->word_count += static_cast<std::uint32_t>(keyed.size());
        list_->text_bytes += static_cast<std::uint32_t>(bytes);
        list_->texts_moved = 1;
        list_->nodes_moved = 1;
        list_->scan_first = list_->scan_end = nullptr;
        RebuildIndex(list_);  // drops the hash index too
        fresh_.clear();
    }

    // Frees the new words that never made it into the list.
    ~ListWords() {
        for (WordNode* node : fresh_) {
            if (node != nullptr) FreeWordNode(node);
        }
    }

private:
    // The one-by-one insertion for a few words: it finds the word's place
    // itself, so the node made here is given back for its own.
    // *node is the node made by Get(); it is freed and forgotten here.
    void InsertAlone(WordNode** node) {
        // InsertWord copies the text; memory that ran out leaves the word out
        // (a null node, which the caller reports).
        WordNode* const placed = InsertWord(list_, {(*node)->text, (*node)->length});
        remapped_[*node] = placed;
        FreeWordNode(*node);
        *node = nullptr;
    }

    void LinkBefore(WordNode* node, WordNode* before) {
        node->next = before;
        node->prev = before != nullptr ? before->prev.get() : list_->tail;
        if (node->prev != nullptr) {
            node->prev->next = node;
        } else {
            list_->head = node;
        }
        if (before != nullptr) {
            before->prev = node;
        } else {
            list_->tail = node;
        }
    }

public:
    // Where a node made by Get() ended up after Place() (itself, or the node
    // of the one-by-one insertion).
    WordNode* Final(WordNode* node) const {
        const auto found = remapped_.find(node);
        return found != remapped_.end() ? found->second : node;
    }

private:
    WordList* list_;
    std::unordered_map<std::string_view, WordNode*> words_;
    std::vector<WordNode*> fresh_;
    std::unordered_map<WordNode*, WordNode*> remapped_;
};

// The links of the words a merge touches, to find a pair and a chain's end
// without walking the chain.
class LinkSet {
public:
    bool Has(WordNode* from, WordNode* to) {
        Learn(from);
        return pairs_.count(Key(from, to)) != 0;
    }

    void Append(WordNode* from, TransLink* link) {
        Learn(from);
        TransLink*& last = tails_[from];
        if (last != nullptr) {
            last->next = link;
        } else {
            from->links = link;
        }
        last = link;
        pairs_.insert(Key(from, link->target));
    }

private:
    using Pair = std::pair<const WordNode*, const WordNode*>;
    struct PairHash {
        std::size_t operator()(const Pair& p) const {
            const auto a = reinterpret_cast<std::uintptr_t>(p.first);
            const auto b = reinterpret_cast<std::uintptr_t>(p.second);
            return std::hash<std::uintptr_t>()(a * 0x9E3779B97F4A7C15u ^ b);
        }
    };
    static Pair Key(const WordNode* from, const WordNode* to) { return {from, to}; }

    // Takes in the chain of `from` the first time it is met.
    void Learn(WordNode* from) {
        if (tails_.count(from) != 0) return;
        TransLink* last = nullptr;
        for (TransLink* link = from->links; link != nullptr; link = link->next) {
            pairs_.insert(Key(from, link->target));
            last = link;
        }
        tails_.emplace(from, last);
    }

    std::unordered_set<Pair, PairHash> pairs_;
    std::unordered_map<WordNode*, TransLink*> tails_;
};

struct PendingPair {
    WordNode* word;
    WordNode* translation;
};

MergeOutcome Merge(DB_CONTEXT* target, const DB_CONTEXT* source, std::int32_t direction) {
    MergeOutcome outcome;
    WordList* const words = &target->lists[direction == DB_TRANS_PRIMARY_TO_SECONDARY ? 0 : 1];
    WordList* const translations =
        &target->lists[direction == DB_TRANS_PRIMARY_TO_SECONDARY ? 1 : 0];
    ListWords word_nodes(words), translation_nodes(translations);
    std::vector<PendingPair> pairs;
    auto out_of_memory = [&] {
        CopyField(target->message, sizeof target->message, msg::kMemoryError);
        outcome.failed = true;
        return outcome;
    };

    // First every pair's two nodes, the new ones made but not yet placed.
    StartLoop(target);
    StartProgress(target, source->lists[0].word_count);
    for (const WordNode* word = source->lists[0].head; word != nullptr; word = word->next) {
        for (const TransLink* link = word->links; link != nullptr; link = link->next) {
            WordNode* const w = word_nodes.Get({word->text, word->length});
            WordNode* const t =
                w != nullptr ? translation_nodes.Get({link->target->text, link->target->length})
                             : nullptr;
            if (t == nullptr) return out_of_memory();
            pairs.push_back({w, t});
        }
        AdvanceProgress(target);
        if (!LoopGoesOn(target)) break;
    }
    if (pairs.empty()) return outcome;

    // Then the new words at their places, then the links in pair order.
    word_nodes.Place();
    translation_nodes.Place();
    target->changed = 1;
    LinkSet forward_links, backward_links;
    for (const PendingPair& pair : pairs) {
        WordNode* const w = word_nodes.Final(pair.word);
        WordNode* const t = translation_nodes.Final(pair.translation);
        if (w == nullptr || t == nullptr) return out_of_memory();
        if (forward_links.Has(w, t)) continue;
        TransLink *forward, *backward;
        if (!NewLinkPair(w, t, &forward, &backward)) return out_of_memory();
        forward_links.Append(w, forward);
        backward_links.Append(t, backward);
        CountNewPair(words, translations);
        ++outcome.added;
    }
    return outcome;
}

}  // namespace

MergeOutcome MergeDictionary(DB_CONTEXT* target, const DB_CONTEXT* source, std::int32_t direction) {
    try {
        return Merge(target, source, direction);
    } catch (const std::bad_alloc&) {
        CopyField(target->message, sizeof target->message, msg::kMemoryError);
        MergeOutcome failed;
        failed.failed = true;
        return failed;
    }
}

}  // namespace lexbase
