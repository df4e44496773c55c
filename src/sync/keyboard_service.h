#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "device/device_link.h"

namespace korvel {

// How a job ended.
enum class JobEnd {
    Ran,         // the job ran to its end; its value is there
    Superseded,  // a later job of the same kind replaced it before it started
    Stopped,     // the service stopped before the job started
    Busy,        // another program held the keyboard for longer than the service waits
};

// What a job hands back to whoever submitted it: its value when it ran, else why not.
template <typename Value>
struct JobResult {
    JobEnd end = JobEnd::Ran;
    std::optional<Value> value;
    std::string busyHolder;  // JobEnd::Busy: the lock error naming the other program
};

// What a running job may use: the keyboard's link and a way to say how far it has come.
class JobContext {
public:
    JobContext(DeviceLink& link, std::function<void(int, int)> progress)
        : m_link(link), m_progress(std::move(progress)) {}
    DeviceLink& Link() { return m_link; }
    // Reports done of reports planned; long jobs call it as they go.
    void ReportProgress(int done, int planned) const {
        if (m_progress) {
            m_progress(done, planned);
        }
    }

private:
    DeviceLink& m_link;
    std::function<void(int, int)> m_progress;
};

// The one owner of the keyboard: a worker thread that runs every transaction with the keyboard
// (a download, a backup, a profile switch, a lighting read or write, ...) as a job from its queue,
// one at a time and each to its end. Nothing else talks to the keyboard while the service lives.
//
// Threads:
// - Submit may be called from any thread; it never waits for the keyboard.
// - A job's work and its completion run on the service thread. The completion receives the job's
//   value; a window hands it on to its own thread. Neither may wait for another thread that may
//   itself be waiting for the service (a job never asks the user anything).
// - The link refuses exchanges from any other thread while the service runs (DeviceLink's owner
//   check), so a stray call from the window fails at once instead of interleaving.
// - Stop (and the destructor) may be called from any thread but the service's: the running job
//   ends normally (a started DevBegin..DevEnd sequence is always closed), the waiting ones end
//   as JobEnd::Stopped, then the thread is joined.
class KeyboardService {
public:
    struct Options {
        // A lock file that every transaction holds while it runs, so that two programs never
        // interleave transactions on one keyboard; empty: none.
        std::filesystem::path transactionLock;
        std::string holderName = "korvel";
        std::chrono::milliseconds lockPatience{10000};
    };

    explicit KeyboardService(DeviceLink& link);
    KeyboardService(DeviceLink& link, Options options);
    ~KeyboardService();

    KeyboardService(const KeyboardService&) = delete;
    KeyboardService& operator=(const KeyboardService&) = delete;

    // Queues `work` under `name`. A job with a non-empty `mergeKey` replaces a job with the same
    // key that has not started yet, in that job's place in the queue (successive writes of one
    // lighting field: the last value wins); the replaced one completes as Superseded. `progress`,
    // when given, is called on the service thread with reports done and planned.
    template <typename Value>
    void Submit(std::string name, std::function<Value(JobContext&)> work,
                std::function<void(JobResult<Value>)> done, std::string mergeKey = {},
                std::function<void(int, int)> progress = {}) {
        auto result = std::make_shared<JobResult<Value>>();
        Job job;
        job.name = std::move(name);
        job.mergeKey = std::move(mergeKey);
        job.progress = std::move(progress);
        job.run = [work = std::move(work), result](JobContext& context) {
            result->value.emplace(work(context));
        };
        job.finish = [done = std::move(done), result](JobEnd end, const std::string& holder) {
            result->end = end;
            result->busyHolder = holder;
            if (done) {
                done(std::move(*result));
            }
        };
        Enqueue(std::move(job));
    }

    // Runs `work` as a job and waits for it: for threads other than the window's (the presence
    // thread, a command handed over by korvelctl). On the service thread itself (a job that needs
    // another job's work) it runs `work` at once, inside the running job.
    template <typename Value>
    JobResult<Value> Run(std::string name, std::function<Value(JobContext&)> work) {
        if (OnServiceThread()) {
            JobContext context(m_link, {});
            return JobResult<Value>{JobEnd::Ran, work(context), {}};
        }
        std::mutex mutex;
        std::condition_variable finished;
        std::optional<JobResult<Value>> outcome;
        Submit<Value>(std::move(name), std::move(work), [&](JobResult<Value> result) {
            std::lock_guard lock(mutex);
            outcome = std::move(result);
            finished.notify_all();
        });
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return outcome.has_value(); });
        return std::move(*outcome);
    }

    void Stop();
    // Whether Stop has been called: a long job may look at it (it still ends its transaction).
    bool StopRequested() const;

    bool OnServiceThread() const { return std::this_thread::get_id() == m_threadId; }
    // Whether a job runs or waits.
    bool Busy() const;
    // The name of the running job, empty when none runs.
    std::string Running() const;

private:
    struct Job {
        std::string name;
        std::string mergeKey;
        std::function<void(int, int)> progress;
        std::function<void(JobContext&)> run;
        std::function<void(JobEnd, const std::string&)> finish;
    };

    void Enqueue(Job job);
    void Loop();
    void RunOne(Job& job);

    DeviceLink& m_link;
    Options m_options;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_queue;  // under m_mutex
    std::string m_running;    // under m_mutex
    bool m_active = false;    // under m_mutex: a job runs
    bool m_stopping = false;  // under m_mutex
    std::thread m_thread;
    std::thread::id m_threadId;
};

}  // namespace korvel
