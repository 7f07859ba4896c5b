#include "UhidDevice.h"

#include <linux/uhid.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace vmtest {

namespace {

void CopyText(uint8_t* target, size_t capacity, const std::string& text) {
    const size_t n = std::min(capacity - 1, text.size());
    std::memcpy(target, text.data(), n);
    target[n] = 0;
}

// "/dev/hidrawN" of the HID device whose uevent names `phys`, else empty.
std::string FindHidrawNode(const std::string& phys) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/sys/class/hidraw", ec)) {
        std::ifstream uevent(entry.path() / "device" / "uevent");
        std::string line;
        while (std::getline(uevent, line)) {
            if (line == "HID_PHYS=" + phys) return "/dev/" + entry.path().filename().string();
        }
    }
    return {};
}

}  // namespace

UhidDevice::UhidDevice(UhidIdentity identity, std::vector<uint8_t> descriptor)
    : identity_(std::move(identity)), descriptor_(std::move(descriptor)) {}

UhidDevice::~UhidDevice() { Destroy(); }

bool UhidDevice::Create(std::string* error) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (fd_ >= 0 && !destroyed_) return true;
    }
    // A device that removed itself (DestroyAfterReports) still has its thread and fd.
    Destroy();
    if (descriptor_.size() > HID_MAX_DESCRIPTOR_SIZE) {
        *error = "report descriptor too long";
        return false;
    }
    const int fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        *error = std::string("cannot open /dev/uhid: ") + std::strerror(errno);
        return false;
    }
    const int wake = ::eventfd(0, EFD_CLOEXEC);
    if (wake < 0) {
        *error = std::string("eventfd: ") + std::strerror(errno);
        ::close(fd);
        return false;
    }

    auto ev = std::make_unique<uhid_event>();
    std::memset(ev.get(), 0, sizeof(uhid_event));
    ev->type = UHID_CREATE2;
    CopyText(ev->u.create2.name, sizeof ev->u.create2.name, identity_.name);
    CopyText(ev->u.create2.phys, sizeof ev->u.create2.phys, identity_.phys);
    CopyText(ev->u.create2.uniq, sizeof ev->u.create2.uniq, identity_.uniq);
    ev->u.create2.rd_size = static_cast<__u16>(descriptor_.size());
    ev->u.create2.bus = identity_.bus;
    ev->u.create2.vendor = identity_.vendor;
    ev->u.create2.product = identity_.product;
    ev->u.create2.version = identity_.version;
    ev->u.create2.country = 0;
    std::memcpy(ev->u.create2.rd_data, descriptor_.data(), descriptor_.size());
    if (::write(fd, ev.get(), sizeof(uhid_event)) != static_cast<ssize_t>(sizeof(uhid_event))) {
        *error = std::string("UHID_CREATE2 failed: ") + std::strerror(errno);
        ::close(wake);
        ::close(fd);
        return false;
    }

    {
        std::lock_guard<std::mutex> lock(mutex_);
        fd_ = fd;
        wakeFd_ = wake;
        started_ = false;
        destroyed_ = false;
        destroyAfter_ = 0;
        reports_.clear();
    }
    thread_ = std::thread([this] { EventLoop(); });
    return true;
}

void UhidDevice::Destroy() {
    int fd = -1;
    int wake = -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fd = fd_;
        wake = wakeFd_;
    }
    if (fd < 0) return;
    DestroyKernelDevice();
    const uint64_t one = 1;
    if (::write(wake, &one, sizeof one) != sizeof one) {
        // The loop also ends when the fd reports an error; nothing better to do here.
    }
    if (thread_.joinable()) thread_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    ::close(fd_);
    ::close(wakeFd_);
    fd_ = -1;
    wakeFd_ = -1;
    started_ = false;
    hidrawPath_.clear();
    changed_.notify_all();
}

bool UhidDevice::Exists() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return fd_ >= 0 && !destroyed_;
}

bool UhidDevice::WaitStarted(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!changed_.wait_until(lock, deadline, [this] { return started_; })) return false;
    }
    // The kernel starts the device before it connects hidraw to it.
    for (;;) {
        std::string node = FindHidrawNode(identity_.phys);
        if (!node.empty()) {
            std::lock_guard<std::mutex> lock(mutex_);
            hidrawPath_ = std::move(node);
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string UhidDevice::HidrawPath() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return hidrawPath_;
}

bool UhidDevice::SendInput(const std::vector<uint8_t>& report) {
    if (!Exists() || report.size() > UHID_DATA_MAX) return false;
    auto ev = std::make_unique<uhid_event>();
    std::memset(ev.get(), 0, sizeof(uhid_event));
    ev->type = UHID_INPUT2;
    ev->u.input2.size = static_cast<__u16>(report.size());
    std::memcpy(ev->u.input2.data, report.data(), report.size());
    return WriteEvent(ev.get(), sizeof(uhid_event));
}

void UhidDevice::SetFeatureReply(uint8_t reportNumber, std::vector<uint8_t> reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& entry : featureReplies_) {
        if (entry.first == reportNumber) {
            entry.second = std::move(reply);
            return;
        }
    }
    featureReplies_.emplace_back(reportNumber, std::move(reply));
}

std::vector<ReceivedReport> UhidDevice::Reports() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_;
}

void UhidDevice::ClearReports() {
    std::lock_guard<std::mutex> lock(mutex_);
    reports_.clear();
}

bool UhidDevice::WaitForReports(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return reports_.size() >= count; });
}

void UhidDevice::DestroyAfterReports(size_t count) {
    std::lock_guard<std::mutex> lock(mutex_);
    destroyAfter_ = count;
}

bool UhidDevice::WriteEvent(const void* event, size_t size) {
    int fd;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fd = fd_;
    }
    if (fd < 0) return false;
    // The kernel takes one whole event per write and serialises writers itself.
    return ::write(fd, event, size) == static_cast<ssize_t>(size);
}

void UhidDevice::DestroyKernelDevice() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (fd_ < 0 || destroyed_) return;
        destroyed_ = true;
    }
    uhid_event ev;
    std::memset(&ev, 0, sizeof ev);
    ev.type = UHID_DESTROY;
    WriteEvent(&ev, sizeof ev);
    std::lock_guard<std::mutex> lock(mutex_);
    changed_.notify_all();
}

void UhidDevice::Record(ReceivedReport report) {
    std::lock_guard<std::mutex> lock(mutex_);
    report.at = std::chrono::steady_clock::now();
    reports_.push_back(std::move(report));
    changed_.notify_all();
}

void UhidDevice::EventLoop() {
    int fd, wake;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fd = fd_;
        wake = wakeFd_;
    }
    auto ev = std::make_unique<uhid_event>();
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {wake, POLLIN, 0}};
        const int n = ::poll(fds, 2, -1);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return;
        if ((fds[0].revents & POLLIN) == 0) continue;
        const ssize_t got = ::read(fd, ev.get(), sizeof(uhid_event));
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return;
        }
        if (got < static_cast<ssize_t>(sizeof ev->type)) continue;
        HandleEvent(ev.get());
    }
}

void UhidDevice::HandleEvent(const void* raw) {
    const auto* ev = static_cast<const uhid_event*>(raw);
    switch (ev->type) {
    case UHID_START: {
        std::lock_guard<std::mutex> lock(mutex_);
        started_ = true;
        changed_.notify_all();
        return;
    }
    case UHID_STOP: {
        std::lock_guard<std::mutex> lock(mutex_);
        started_ = false;
        changed_.notify_all();
        return;
    }
    case UHID_OUTPUT: {
        ReceivedReport r;
        r.kind = ReceivedReport::Kind::Output;
        const size_t size = std::min<size_t>(ev->u.output.size, UHID_DATA_MAX);
        r.data.assign(ev->u.output.data, ev->u.output.data + size);
        Record(std::move(r));
        break;
    }
    case UHID_GET_REPORT: {
        ReceivedReport r;
        r.kind = ReceivedReport::Kind::GetFeature;
        r.reportNumber = ev->u.get_report.rnum;
        Record(std::move(r));

        auto reply = std::make_unique<uhid_event>();
        std::memset(reply.get(), 0, sizeof(uhid_event));
        reply->type = UHID_GET_REPORT_REPLY;
        reply->u.get_report_reply.id = ev->u.get_report.id;
        reply->u.get_report_reply.err = EIO;
        if (ev->u.get_report.rtype == UHID_FEATURE_REPORT) {
            std::lock_guard<std::mutex> lock(mutex_);
            for (const auto& entry : featureReplies_) {
                if (entry.first != ev->u.get_report.rnum) continue;
                const size_t size = std::min<size_t>(entry.second.size(), UHID_DATA_MAX);
                std::memcpy(reply->u.get_report_reply.data, entry.second.data(), size);
                reply->u.get_report_reply.size = static_cast<__u16>(size);
                reply->u.get_report_reply.err = 0;
            }
        }
        WriteEvent(reply.get(), sizeof(uhid_event));
        break;
    }
    case UHID_SET_REPORT: {
        ReceivedReport r;
        r.kind = ReceivedReport::Kind::SetFeature;
        r.reportNumber = ev->u.set_report.rnum;
        const size_t size = std::min<size_t>(ev->u.set_report.size, UHID_DATA_MAX);
        r.data.assign(ev->u.set_report.data, ev->u.set_report.data + size);
        // Only feature reports are accepted this way; an output report sent as
        // SET_REPORT would mean the host took the wrong path.
        const bool accepted = ev->u.set_report.rtype == UHID_FEATURE_REPORT;
        if (accepted) Record(std::move(r));

        uhid_event reply;
        std::memset(&reply, 0, sizeof reply);
        reply.type = UHID_SET_REPORT_REPLY;
        reply.u.set_report_reply.id = ev->u.set_report.id;
        reply.u.set_report_reply.err = accepted ? 0 : EIO;
        WriteEvent(&reply, sizeof reply);
        break;
    }
    default:
        return;  // nothing else carries anything we keep
    }

    bool destroyNow = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        destroyNow = destroyAfter_ != 0 && reports_.size() >= destroyAfter_;
        if (destroyNow) destroyAfter_ = 0;
    }
    if (destroyNow) DestroyKernelDevice();
}

}  // namespace vmtest
