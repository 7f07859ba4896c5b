#include "app/shell/SingleInstance.h"

#include "app/shell/AppIdentity.h"
#include "korinui/TextCodec.h"
#include "platform/Folders.h"

namespace {

std::string RuntimeFile(const char* suffix) {
  const std::string dir = platform::RuntimeFolder();
  if (dir.empty()) return {};
  return dir + "/" + korinui::WideToUtf8(kAppName) + suffix;
}

}  // namespace

std::string InstanceLockPath() { return RuntimeFile(".lock"); }
std::string ActivationSocketPath() { return RuntimeFile(".sock"); }

std::unique_ptr<SingleInstance> SingleInstance::Claim() {
  std::unique_ptr<SingleInstance> self(new SingleInstance());
  switch (platform::InstanceLock::TryAcquire(InstanceLockPath(), self->lock_)) {
    case platform::InstanceLock::Result::HeldElsewhere:
      platform::SendActivationRequest(ActivationSocketPath(),
                                      {platform::ActivationRequest::Kind::Activate, 0});
      return nullptr;
    case platform::InstanceLock::Result::Failed:
      return self;
    case platform::InstanceLock::Result::Acquired:
      break;
  }
  self->server_ = platform::ActivationServer::Start(ActivationSocketPath());
  return self;
}

void SingleInstance::SetRequestHandler(platform::ActivationServer::Handler handler) {
  if (server_) server_->SetHandler(std::move(handler));
}

bool PostExternalExit(long long parameter) {
  return platform::SendActivationRequest(
      ActivationSocketPath(), {platform::ActivationRequest::Kind::ExternalExit, parameter});
}
