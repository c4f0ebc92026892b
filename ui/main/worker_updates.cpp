#include "ui/main/worker_updates.h"

namespace {

// The types the queued signals carry, registered once for all five objects.
void registerUpdateTypes() {
    static const bool registered = [] {
        qRegisterMetaType<wordbay::SlotId>();
        qRegisterMetaType<wordbay::ListSide>();
        qRegisterMetaType<wordbay::WordList>();
        qRegisterMetaType<wordbay::WindowTitles>();
        qRegisterMetaType<wordbay::Message>();
        qRegisterMetaType<wordbay::SaveFileChoice>();
        qRegisterMetaType<wordbay::WordFormsNote>();
        qRegisterMetaType<std::string>();
        qRegisterMetaType<std::uint32_t>();
        qRegisterMetaType<std::uint64_t>();
        return true;
    }();
    (void)registered;
}

}  // namespace

PaneSignals::PaneSignals(QObject* parent) : QObject(parent) { registerUpdateTypes(); }

StatusSignals::StatusSignals(QObject* parent) : QObject(parent) { registerUpdateTypes(); }

HotKeySignals::HotKeySignals(QObject* parent) : QObject(parent) { registerUpdateTypes(); }

WordFormSignals::WordFormSignals(QObject* parent) : QObject(parent) { registerUpdateTypes(); }

WindowStateSignals::WindowStateSignals(QObject* parent) : QObject(parent) { registerUpdateTypes(); }

WorkerUpdates::WorkerUpdates(QObject* parent)
    : panes(new PaneSignals(parent))
    , status(new StatusSignals(parent))
    , hotKey(new HotKeySignals(parent))
    , wordForms(new WordFormSignals(parent))
    , window(new WindowStateSignals(parent)) {
    markQueuedCallsOn(parent);
}
