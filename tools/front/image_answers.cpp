#include "tools/front/image_answers.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "lookup/lookup_image.h"
#include "platform/utf8.h"
#include "tools/cli_commands.h"

namespace cli::front {
namespace {

using lookup::LookupImage;

constexpr std::uint32_t kUtf8 = 65001;

// The texts one a line; false when one is not well-formed UTF-8 (the
// program with the engine writes those as it converts them).
bool AppendLines(const std::vector<std::string>& texts, std::string* out) {
    for (const std::string& text : texts) {
        if (!platform::IsValidUtf8(text)) return false;
        *out += text;
        *out += '\n';
    }
    return true;
}

Reply Translate(const Arguments& args) {
    Reply reply;
    const std::string& word = args.positional[1];
    const int from = args.Has("reverse") ? 1 : 0;
    const bool case_sensitive = args.Has("case");
    const bool ignore_accents = args.Has("accents");
    if (word == "-" || word.empty() || !platform::IsValidUtf8(word)) return reply;
    CurrentImage current;
    LookupImage& image = current.image;
    if (!OpenCurrentImage(args.positional[0], &current) ||
        !image.Serves(from, case_sensitive, ignore_accents) || image.code_page(0) != kUtf8 ||
        image.code_page(1) != kUtf8) {
        return reply;
    }
    std::vector<std::string> translations;
    switch (image.Translate(from, word, case_sensitive, ignore_accents, &translations)) {
        case LookupImage::Answer::kDamaged:
            return reply;
        case LookupImage::Answer::kNotFound:
            reply.err = "wordbay-cli: Translations not found.\n";
            reply.status = kExitFailed;
            break;
        case LookupImage::Answer::kFound:
            if (!AppendLines(translations, &reply.out)) return reply;
            reply.status = kExitOk;
            break;
    }
    reply.answered = true;
    return reply;
}

Reply List(const Arguments& args) {
    Reply reply;
    const std::string mode = args.Value("mode", "prefix");
    const bool wildcards = mode == "wildcards";
    if ((mode != "prefix" && !wildcards) || args.positional.size() != 2) return reply;
    const std::string& pattern = args.positional[1];
    if (pattern == "-" || pattern.empty() || !platform::IsValidUtf8(pattern)) return reply;
    unsigned long limit = 0xFFFFFFFFul;
    if (args.values.count("limit") != 0 && !ParseNumber(args.Value("limit"), 0x7FFFFFFF, &limit)) {
        return reply;
    }
    const int list = args.Has("secondary") ? 1 : 0;
    const bool case_sensitive = args.Has("case");
    const bool ignore_accents = args.Has("accents");
    CurrentImage current;
    LookupImage& image = current.image;
    if (!OpenCurrentImage(args.positional[0], &current) || !image.HasPrefixes(list) ||
        image.code_page(list) != kUtf8) {
        return reply;
    }
    std::vector<std::string> words;
    const auto answer = wildcards
                            ? image.ListWildcards(list, pattern, case_sensitive, ignore_accents,
                                                  static_cast<std::uint32_t>(limit), &words)
                            : image.ListPrefix(list, pattern, case_sensitive, ignore_accents,
                                               static_cast<std::uint32_t>(limit), &words);
    if (answer == LookupImage::Answer::kDamaged || !AppendLines(words, &reply.out)) return reply;
    reply.status = words.empty() ? kExitFailed : kExitOk;
    reply.answered = true;
    return reply;
}

}  // namespace

bool OpenCurrentImage(const std::string& dictionary, CurrentImage* found) {
    char* real = ::realpath(dictionary.c_str(), nullptr);
    if (real == nullptr) return false;
    found->source = real;
    std::free(real);
    if (!lookup::ReadSourceKey(found->source, &found->key)) return false;
    found->path = lookup::ImagePathOf(found->source);
    return !found->path.empty() && found->image.Open(found->path, found->source, found->key);
}

Reply AnswerFromImage(const Arguments& args) {
    if (args.command == "translate") return Translate(args);
    if (args.command == "list") return List(args);
    if (args.command == "lookup") return AnswerLookup(args);
    return {};
}

}  // namespace cli::front
