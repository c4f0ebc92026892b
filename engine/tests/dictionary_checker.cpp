#include "engine/tests/dictionary_checker.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <sstream>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/collation.h"

namespace lexbase {
namespace {

std::string_view TextOf(const WordNode* node) { return {node->text, node->length}; }

// Positions of a list's nodes, or an error text when the list itself is broken.
struct Walk {
    std::unordered_map<const WordNode*, std::size_t> position;
    std::vector<const WordNode*> nodes;
};

std::string WalkList(const WordList& list, const char* name, Walk* walk) {
    std::ostringstream why;
    std::uint64_t bytes = 0;
    const WordNode* prev = nullptr;
    std::set<std::string_view> seen;
    for (const WordNode* node = list.head; node != nullptr; node = node->next) {
        if (walk->nodes.size() > list.word_count) {
            why << name << ": more nodes than the word count " << list.word_count;
            return why.str();
        }
        if (node->prev != prev) {
            why << name << ": prev of node " << walk->nodes.size() << " is wrong";
            return why.str();
        }
        if (node->length == 0 || node->text == nullptr || node->text[node->length] != '\0' ||
            std::memchr(node->text, '\0', node->length) != nullptr) {
            why << name << ": node " << walk->nodes.size() << " has a bad text or length";
            return why.str();
        }
        if (!seen.insert(TextOf(node)).second) {
            why << name << ": \"" << TextOf(node) << "\" occurs twice";
            return why.str();
        }
        if (prev != nullptr &&
            platform::CompareText(list.locale, 0, TextOf(prev), TextOf(node)) > 0) {
            why << name << ": \"" << TextOf(prev) << "\" sorts after its successor \""
                << TextOf(node) << "\"";
            return why.str();
        }
        walk->position[node] = walk->nodes.size();
        walk->nodes.push_back(node);
        bytes += node->length + 1u;
        prev = node;
    }
    if (list.tail != prev) return std::string(name) + ": tail is not the last node";
    if (walk->nodes.size() != list.word_count) {
        why << name << ": word count " << list.word_count << ", walk " << walk->nodes.size();
        return why.str();
    }
    if (list.word_count == 0 &&
        (list.text_block != nullptr || list.node_block != nullptr || list.link_block != nullptr)) {
        return std::string(name) + ": an empty list keeps a block";
    }
    if (bytes != list.text_bytes) {
        why << name << ": text bytes " << list.text_bytes << ", walk " << bytes;
        return why.str();
    }
    return {};
}

std::string CheckIndex(const WordList& list, const char* name, const Walk& walk) {
    // The first and last position of the words of each entry.
    std::map<std::size_t, std::pair<std::size_t, std::size_t>> spans;
    for (std::size_t n = 0; n < walk.nodes.size(); ++n) {
        const std::string_view text = TextOf(walk.nodes[n]);
        for (const std::size_t entry : {BucketOf(text), BucketOf(text.substr(0, 1))}) {
            auto [it, fresh] = spans.try_emplace(entry, n, n);
            if (!fresh) it->second.second = n;
        }
    }
    const auto where = [name](std::size_t entry) {
        std::ostringstream out;
        out << name << ": entry " << entry / 256 << "," << entry % 256 << ": ";
        return out.str();
    };
    // Entries without words must be empty; they are most of the index, so
    // the loop over them stays plain.
    std::size_t entry = 0;
    const auto check_empty_up_to = [&](std::size_t end) {
        std::uintptr_t set = 0;
        for (const Bucket* e = list.bucket_index + entry; e < list.bucket_index + end; ++e) {
            set |= reinterpret_cast<std::uintptr_t>(e->first) |
                   reinterpret_cast<std::uintptr_t>(e->last);
        }
        if (set == 0) {
            entry = end;
            return true;
        }
        while (list.bucket_index[entry].first == nullptr &&
               list.bucket_index[entry].last == nullptr) {
            ++entry;
        }
        return false;
    };
    for (const auto& [key, span] : spans) {
        if (!check_empty_up_to(key)) return where(entry) + "set with no word";
        const Bucket& b = list.bucket_index[key];
        const auto f = walk.position.find(b.first);
        const auto l = walk.position.find(b.last);
        if (f == walk.position.end() || l == walk.position.end()) {
            return where(key) + "first or last is not a node of the list";
        }
        // The ends are the entry's own earliest and latest words: a wider
        // range would still find every word, but the walks that mend an entry
        // rely on its ends.
        if (f->second != span.first || l->second != span.second) {
            return where(key) + "ends " + std::to_string(f->second) + ".." +
                   std::to_string(l->second) + ", its words lie at " + std::to_string(span.first) +
                   ".." + std::to_string(span.second);
        }
        entry = key + 1;
    }
    if (!check_empty_up_to(kBucketCount)) return where(entry) + "set with no word";
    return {};
}

std::size_t CountLinks(const WordNode* from, const WordNode* to) {
    std::size_t n = 0;
    for (const TransLink* link = from->links; link != nullptr; link = link->next) {
        n += link->target == to;
    }
    return n;
}

std::string CheckLinks(const WordList& list, const char* name, const Walk& own, const Walk& other) {
    std::uint64_t links = 0;
    for (const WordNode* node : own.nodes) {
        for (const TransLink* link = node->links; link != nullptr; link = link->next) {
            ++links;
            if (links > 0xFFFFFFFFull) return std::string(name) + ": a chain loops";
            const std::string where =
                std::string(name) + ": \"" + std::string(TextOf(node)) + "\": ";
            if (other.position.count(link->target) == 0) {
                return where + "a link leaves the other list";
            }
            // An import may repeat a pair; each copy needs its own way back.
            if (CountLinks(link->target, node) != CountLinks(node, link->target)) {
                return where + "\"" + std::string(TextOf(link->target)) + "\" lacks a reverse link";
            }
        }
    }
    if (links != list.translation_count) {
        std::ostringstream why;
        why << name << ": translation count " << list.translation_count << ", links " << links;
        return why.str();
    }
    return {};
}

}  // namespace

::testing::AssertionResult CheckDictionary(const DB_CONTEXT* db) {
    const char* const names[2] = {"primary", "secondary"};
    Walk walks[2];
    for (int k = 0; k < 2; ++k) {
        std::string why = WalkList(db->lists[k], names[k], &walks[k]);
        if (why.empty()) why = CheckIndex(db->lists[k], names[k], walks[k]);
        if (!why.empty()) return ::testing::AssertionFailure() << why;
    }
    for (int k = 0; k < 2; ++k) {
        const std::string why = CheckLinks(db->lists[k], names[k], walks[k], walks[1 - k]);
        if (!why.empty()) return ::testing::AssertionFailure() << why;
    }
    return ::testing::AssertionSuccess();
}

DictionaryContents ContentsOf(const DB_CONTEXT* db) {
    DictionaryContents contents;
    ListContents* lists[2] = {&contents.primary, &contents.secondary};
    for (int k = 0; k < 2; ++k) {
        for (const WordNode* node = db->lists[k].head; node != nullptr; node = node->next) {
            std::vector<std::string>& translations = (*lists[k])[std::string(TextOf(node))];
            for (const TransLink* link = node->links; link != nullptr; link = link->next) {
                translations.emplace_back(TextOf(link->target));
            }
        }
    }
    return contents;
}

std::vector<std::string> WordsInOrder(const WordList& list) {
    std::vector<std::string> words;
    for (const WordNode* node = list.head; node != nullptr; node = node->next) {
        words.emplace_back(TextOf(node));
    }
    return words;
}

::testing::AssertionResult IsEmptyHandle(const DB_CONTEXT* db) {
    if (db->ready) return ::testing::AssertionFailure() << "ready flag set";
    for (const WordList& list : db->lists) {
        if (list.word_count || list.head || list.text_block || list.node_block || list.link_block ||
            list.regex_tables || list.translation_count) {
            return ::testing::AssertionFailure() << "a list keeps words or blocks";
        }
    }
    if (db->name[0] != '\0') return ::testing::AssertionFailure() << "the description stays";
    return ::testing::AssertionSuccess();
}

PairList PrimaryPairs(const DB_CONTEXT* db) {
    PairList out;
    for (const WordNode* node = db->lists[0].head; node != nullptr; node = node->next) {
        for (const TransLink* link = node->links; link != nullptr; link = link->next) {
            out.emplace_back(std::string(node->text, node->length),
                             std::string(link->target->text, link->target->length));
        }
    }
    return out;
}

}  // namespace lexbase
