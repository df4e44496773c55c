#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>

#include "sync/keyboard_service.h"

namespace korvel {

// The window's door to the keyboard service: submits jobs and brings their results (and their
// progress) back to the window's thread, so that the window never waits for the keyboard. It
// counts the jobs whose results have not been handled yet, so that the window can disable what
// would conflict and a test can wait until everything has settled.
//
// Threads: the window's thread only.
class KeyboardJobs : public QObject {
    Q_OBJECT

public:
    KeyboardJobs(KeyboardService& service, QObject* parent) : QObject(parent), m_service(service) {}

    // `done` runs on the window's thread once the job has ended, unless this object is gone.
    template <typename Value>
    void Submit(std::string name, std::function<Value(JobContext&)> work,
                std::function<void(JobResult<Value>)> done, std::string mergeKey = {},
                bool reportProgress = false) {
        Started();
        QPointer<KeyboardJobs> self(this);
        std::function<void(int, int)> progress;
        if (reportProgress) {
            progress = [self](int reportsDone, int planned) {
                QMetaObject::invokeMethod(
                    self,
                    [self, reportsDone, planned] { emit self->progress(reportsDone, planned); },
                    Qt::QueuedConnection);
            };
        }
        m_service.Submit<Value>(
            std::move(name), std::move(work),
            [self, done = std::move(done)](JobResult<Value> result) mutable {
                // Queued on the window's thread; dropped with the window.
                QMetaObject::invokeMethod(
                    self,
                    [self, done = std::move(done), result = std::move(result)]() mutable {
                        if (done) {
                            done(std::move(result));
                        }
                        self->Finished();
                    },
                    Qt::QueuedConnection);
            },
            std::move(mergeKey), std::move(progress));
    }

    // Jobs submitted whose results have not been handled yet.
    int InFlight() const { return m_inFlight; }
    KeyboardService& Service() { return m_service; }

signals:
    // The service got its first job, or handed back its last result.
    void busyChanged(bool busy);
    void progress(int done, int planned);

private:
    void Started();
    void Finished();

    KeyboardService& m_service;
    int m_inFlight = 0;
};

}  // namespace korvel
