#include <QtTest>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "platform/collation.h"
#include "platform/locale.h"
#include "ui/widgets/locale_list.h"
#include "ui/widgets/ui_thread.h"
#include "ui/widgets/w_thread.h"

namespace {

// Waits for a go-ahead (or a stop) before it ends, like a worker waiting for
// its next job.
class GatedThread : public WThread {
public:
    ~GatedThread() override { stop(); }

    void open() {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_wake.notify_all();
    }

    std::atomic<std::intptr_t> argument{-1};
    std::atomic<int> finishedWith{-1};
    std::atomic<bool> sawStop{false};

protected:
    int run(std::intptr_t arg) override {
        argument = arg;
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_open || stopRequested(); });
        sawStop = stopRequested();
        m_open = false;
        return int(arg) * 2;
    }
    void finished(int result) override { finishedWith = result; }
    void wake() override {
        { std::lock_guard lock(m_mutex); }
        m_wake.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_open = false;
};

// Sends what another thread made to the window's thread, as the worker does.
class Sender : public QObject {
    Q_OBJECT

public:
    void send(std::string text) { emitHandedOver(this, &Sender::sent, std::move(text)); }

signals:
    void sent(std::string text);
};

}  // namespace

class ThreadTest : public QObject {
    Q_OBJECT

private slots:
    void runsWithItsArgumentAndReportsTheResult() {
        GatedThread thread;
        QVERIFY(thread.start(21));
        QVERIFY(thread.isRunning());
        QVERIFY(!thread.start(5));  // refused while running
        thread.open();
        QTRY_COMPARE(thread.finishedWith.load(), 42);
        QVERIFY(!thread.isRunning());
        QCOMPARE(thread.argument.load(), std::intptr_t(21));
        QVERIFY(thread.start(3));  // a finished thread may start again
        thread.open();
        QTRY_COMPARE(thread.finishedWith.load(), 6);
    }

    void stopWakesAWaitingRunAndJoins() {
        GatedThread thread;
        QVERIFY(thread.start(1));
        thread.stop();
        QVERIFY(!thread.isRunning());
        QVERIFY(thread.sawStop.load());
        QCOMPARE(thread.finishedWith.load(), 2);
    }

    void destructionDoesNotCutARunningThreadOff() {
        auto* thread = new GatedThread;
        QVERIFY(thread->start(4));
        delete thread;  // asks the thread to stop and waits for it
    }

    // Under the thread checker, the window's thread reading what the sender
    // wrote before a queued signal (the signal's argument, or anything else)
    // is no race; an emit on the sender's own thread takes no lock, so its
    // slots may wait for another thread that sends.
    void aQueuedSignalIsAHandOver() {
        QObject owner;
        markQueuedCallsOn(&owner);
        Sender sender;
        int writtenBefore = 0;
        std::string received;
        QObject::connect(&sender, &Sender::sent, &owner, [&](const std::string& text) {
            received = text + "/" + std::to_string(writtenBefore);
        });
        std::thread worker([&] {
            writtenBefore = 7;
            sender.send("made on the worker");
        });
        QTRY_COMPARE(received, std::string("made on the worker/7"));
        worker.join();

        Sender local;
        QObject::connect(&local, &Sender::sent, &owner, [&](const std::string& text) {
            std::thread other([&] { sender.send(text); });
            other.join();
        });
        local.send("sent at once");
        QTRY_COMPARE(received, std::string("sent at once/7"));
    }

    void localeListIsSortedByTheUsersCollation() {
        const LocaleList& list = LocaleList::instance();
        QVERIFY(list.count() > 50);
        for (int i = 1; i < list.count(); ++i) {
            const std::string a = list.name(i - 1).toStdString();
            const std::string b = list.name(i).toStdString();
            // Names beyond ASCII compare in the user's code page; skip them here.
            const auto ascii = [](const std::string& s) {
                return std::none_of(s.begin(), s.end(), [](char c) { return (c & 0x80) != 0; });
            };
            if (!ascii(a) || !ascii(b)) continue;
            QVERIFY2(platform::CompareText(1024, 0, a, b) <= 0, (a + " > " + b).c_str());
        }
        const int croatian = list.indexOf(1050);
        QVERIFY(croatian >= 0);
        QCOMPARE(list.name(croatian), QStringLiteral("Croatian (Croatia)"));
        QCOMPARE(list.codePage(croatian), 1250u);
        QCOMPARE(list.nameOf(1050), QStringLiteral("Croatian (Croatia)"));
        QCOMPARE(list.nameOf(0x7777), QString());
        QCOMPARE(list.lcid(-1), 0u);
        QCOMPARE(list.name(list.count()), QString());
        QCOMPARE(list.userDefaultName(), list.nameOf(platform::ResolveLcid(1024)));
        QVERIFY(!list.userDefaultName().isEmpty());
    }
};

int runThreadTests(int argc, char** argv) {
    ThreadTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "thread_test.moc"
