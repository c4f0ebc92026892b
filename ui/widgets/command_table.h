// CommandTable: what each command of a window does, by its id. A window
// fills it once (each part of it adds its own commands) and hands every
// menu item, accelerator, button and control notification to run().
#pragma once

#include <QtGlobal>
#include <functional>
#include <initializer_list>
#include <unordered_map>

class WControl;

class CommandTable {
public:
    // One command as it arrived: the notification code (kMenuCommand,
    // kAcceleratorCommand, a control's code), the id, its parameter and the
    // control that sent it (null for menu items and keys).
    struct Call {
        int code = 0;
        int id = 0;
        qintptr param = 0;
        WControl* control = nullptr;
    };
    using Handler = std::function<void(const Call&)>;

    // `handler` runs for `id`; a later add() for the same id replaces it.
    void add(int id, Handler handler);
    void add(std::initializer_list<int> ids, const Handler& handler);
    // Every id from `first` to `last`, both included.
    void addRange(int first, int last, const Handler& handler);

    // Runs the handler of `call.id`; false when the id has none.
    bool run(const Call& call) const;
    bool contains(int id) const { return m_handlers.count(id) != 0; }

private:
    std::unordered_map<int, Handler> m_handlers;
};
