#include "platform/ui/worker.h"

#include <QObject>
#include <QThreadPool>

namespace ui {

struct Worker::Impl {
  QThreadPool pool;
  std::unique_ptr<QObject> context = std::make_unique<QObject>();  // receives the results
  int pending = 0;                                                 // user-interface thread only
};

Worker::Worker() : impl_(std::make_unique<Impl>()) { impl_->pool.setMaxThreadCount(1); }

// The pool goes quiet first, so nothing is posted to a context that is gone;
// results still queued for the context go with it.
Worker::~Worker() {
  impl_->pool.waitForDone();
  impl_->context.reset();
}

void Worker::run(Job job) {
  ++impl_->pending;
  Impl* impl = impl_.get();
  impl_->pool.start([impl, job = std::move(job)] {
    Then then = job();
    QMetaObject::invokeMethod(
        impl->context.get(),
        [impl, then = std::move(then)] {
          --impl->pending;
          if (then) then();
        },
        Qt::QueuedConnection);
  });
}

bool Worker::busy() const { return impl_->pending > 0; }

}  // namespace ui
