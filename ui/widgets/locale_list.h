// LocaleList: the languages the program offers for a word list, with their
// locale identifiers (Windows LCIDs), names and code pages, sorted by name in
// the user's collation. Built once, on first use, from the locales the system
// knows; safe to read from any thread.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class LocaleList {
public:
    // The program-wide list.
    static const LocaleList& instance();

    int count() const;
    // By index in sorted order: 0 and an empty name out of range.
    std::uint32_t lcid(int index) const;
    QString name(int index) const;
    std::uint32_t codePage(int index) const;
    // Index of `lcid` (after the default LCIDs 0, 1024 and 2048 are resolved to
    // the user's), or -1.
    int indexOf(std::uint32_t lcid) const;
    // The name of `lcid`, or empty.
    QString nameOf(std::uint32_t lcid) const;
    // The name of the user's default locale.
    QString userDefaultName() const;

private:
    LocaleList();

    struct Entry {
        std::uint32_t lcid;
        QString name;
        std::uint32_t codePage;
    };
    std::vector<Entry> m_entries;
};
