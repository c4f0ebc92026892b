#include "ui/widgets/locale_list.h"

#include <algorithm>
#include <string>

#include "platform/code_page.h"
#include "platform/collation.h"
#include "platform/locale.h"

namespace {

constexpr std::uint32_t kUserDefaultLcid = 1024;

}  // namespace

const LocaleList& LocaleList::instance() {
    static const LocaleList list;
    return list;
}

LocaleList::LocaleList() {
    // The names compare in the user's code page and collation, as every other
    // list of names the user sees.
    const std::uint32_t userCodePage = platform::CodePageOf(kUserDefaultLcid);
    struct Keyed {
        std::string key;
        Entry entry;
    };
    std::vector<Keyed> keyed;
    for (const platform::LocaleEntry& locale : platform::InstalledLocales()) {
        keyed.push_back({platform::EncodeFromUtf8(userCodePage, locale.name),
                         {locale.lcid, QString::fromStdString(locale.name), locale.code_page}});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return platform::CompareText(kUserDefaultLcid, 0, a.key, b.key) < 0;
    });
    m_entries.reserve(keyed.size());
    for (Keyed& k : keyed) m_entries.push_back(std::move(k.entry));
}

int LocaleList::count() const { return int(m_entries.size()); }

std::uint32_t LocaleList::lcid(int index) const {
    return index >= 0 && index < count() ? m_entries[index].lcid : 0;
}

QString LocaleList::name(int index) const {
    return index >= 0 && index < count() ? m_entries[index].name : QString();
}

std::uint32_t LocaleList::codePage(int index) const {
    return index >= 0 && index < count() ? m_entries[index].codePage : 0;
}

int LocaleList::indexOf(std::uint32_t lcid) const {
    if (lcid == 0 || lcid == 1024 || lcid == 2048) lcid = platform::ResolveLcid(lcid);
    for (int i = 0; i < count(); ++i) {
        if (m_entries[i].lcid == lcid) return i;
    }
    return -1;
}

QString LocaleList::nameOf(std::uint32_t lcid) const { return name(indexOf(lcid)); }

QString LocaleList::userDefaultName() const { return nameOf(kUserDefaultLcid); }
