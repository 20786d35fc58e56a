#include "platform/ui/later.h"

#include <QObject>

namespace ui {

// The receiver of the queued calls: when it goes, Qt drops what waits for it.
struct Later::Impl {
  QObject receiver;
};

Later::Later() : impl_(std::make_unique<Impl>()) {}
Later::~Later() = default;

void Later::post(std::function<void()> call) {
  QMetaObject::invokeMethod(&impl_->receiver, std::move(call), Qt::QueuedConnection);
}

}  // namespace ui
