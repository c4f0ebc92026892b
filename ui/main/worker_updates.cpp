#include "ui/main/worker_updates.h"

WorkerUpdates::WorkerUpdates(QObject* parent) : QObject(parent) {
    // The types the queued signals carry.
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
}

WorkerUpdates::~WorkerUpdates() = default;
