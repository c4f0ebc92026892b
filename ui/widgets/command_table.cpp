#include "ui/widgets/command_table.h"

#include <utility>

void CommandTable::add(int id, Handler handler) { m_handlers[id] = std::move(handler); }

void CommandTable::add(std::initializer_list<int> ids, const Handler& handler) {
    for (const int id : ids) m_handlers[id] = handler;
}

void CommandTable::addRange(int first, int last, const Handler& handler) {
    for (int id = first; id <= last; ++id) m_handlers[id] = handler;
}

bool CommandTable::run(const Call& call) const {
    const auto found = m_handlers.find(call.id);
    if (found == m_handlers.end()) return false;
    // A copy: the handler may replace its own entry while it runs.
    const Handler handler = found->second;
    handler(call);
    return true;
}
