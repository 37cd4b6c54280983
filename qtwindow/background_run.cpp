#include "qtwindow/background_run.h"

#include <QEventLoop>
#include <QMetaObject>
#include <atomic>
#include <exception>
#include <stdexcept>
#include <thread>

#include "window/active_run.h"

namespace quillon {
void BackgroundRun::Run(const std::function<void(std::stop_token)>& work) {
  if (Active()) throw std::logic_error("a run is already in progress");
  QEventLoop loop;
  std::exception_ptr failure;
  std::atomic<bool> finished{false};
  std::jthread worker([&](std::stop_token stop) {
    try {
      work(std::move(stop));
    } catch (...) {
      failure = std::current_exception();
    }
    finished.store(true, std::memory_order_release);
    QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
  });
  const ActiveRun active(stop_, worker.get_stop_source());
  loop.exec();
  if (!finished.load(std::memory_order_acquire)) worker.request_stop();
  worker.join();
  if (failure) std::rethrow_exception(failure);
}

void BackgroundRun::RequestStop() noexcept {
  if (stop_) stop_->request_stop();
}

}  // namespace quillon
