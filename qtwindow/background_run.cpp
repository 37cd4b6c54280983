#include "qtwindow/background_run.h"

#include <QEventLoop>
#include <QMetaObject>
#include <atomic>
#include <exception>
#include <stdexcept>
#include <thread>

namespace quillon {
namespace {

// Forgets the run's stop source however Run ends.
class ActiveRun {
 public:
  ActiveRun(std::optional<std::stop_source>& slot, std::stop_source source) : slot_(slot) { slot_ = std::move(source); }
  ActiveRun(const ActiveRun&) = delete;
  ActiveRun& operator=(const ActiveRun&) = delete;
  ~ActiveRun() { slot_.reset(); }

 private:
  std::optional<std::stop_source>& slot_;
};

}  // namespace

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
