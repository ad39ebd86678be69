#include "device/UsbLink.h"

#include "device/Command.h"
#include "device/ReportBuilder.h"

#include <algorithm>

namespace quilo {

namespace {

// Debug lines, kept word for word so logs read the same on every platform.
constexpr const char* kEnumStart = "开始枚举usb设备";
constexpr const char* kEnumEnd = "枚举usb设备出错,usb设备接口可能枚举完成了";
constexpr const char* kEnumOk = "枚举usb设备成功";
constexpr const char* kFound = "连接目标设备成功!";
constexpr const char* kNotFound = "连接目标设备失败，没有找到目标设备";
constexpr const char* kNoPath = "查找设备路径时出错!";
constexpr const char* kPathPrefix = "设备路径:\r\n";
constexpr const char* kTryOpen = "尝试打开通信端口....";
constexpr const char* kOpenFailed = "无法打开通信端口。不能读取设备信息!(设备连接可能不正确?)\n";
constexpr const char* kOpenOk = "打开通信端口成功!\n";
constexpr const char* kReadingIdentity = "正在读取设备的标识...\n";
constexpr const char* kNoAttributes = "查询设备信息出错!\n";
constexpr const char* kThreadStart = "start thread: ReadUsbThreadProc \n";
constexpr const char* kReadError = "Read Usb Error will return !\n";
constexpr const char* kBrokenWrite = "g_bReadThreadEnd == TRUE ,WriteUsbData return \n";
constexpr const char* kWriteError = "usb数据写入出错";
constexpr const char* kCloseTimeout = "wait read thread exited time out !\n";
constexpr const char* kNoPermission = "no permission to open the processor: ";

} // namespace

UsbLink::UsbLink(HidTransport& transport, InboundHandler& inbound, DebugLog& log,
                 UsbLinkOptions options)
    : m_transport(transport), m_inbound(inbound), m_log(log), m_options(options) {}

UsbLink::~UsbLink() {
    closeLink(false);
    std::lock_guard guard(m_openCloseMutex);
    joinFinishedReaders(true);
}

void UsbLink::setReadFailedCallback(std::function<void()> callback) {
    std::lock_guard lock(m_stateMutex);
    m_readFailed = std::move(callback);
}

std::string UsbLink::devicePath() const {
    std::lock_guard lock(m_stateMutex);
    return m_devicePath;
}

bool UsbLink::openLink() {
    std::lock_guard guard(m_openCloseMutex);
    if (m_linkOpen) {
        return false;
    }
    joinFinishedReaders(false);
    // A new connection starts with nothing to wait for.
    m_replyEvent.set();
    if (!findAndOpen()) {
        return false;
    }
    m_readThreadEnd = false;
    m_hurried = false;
    const std::uint64_t session = m_session.load() + 1;
    m_session = session;
    m_linkOpen = true;
    ReaderThread& reader = m_readers.emplace_back();
    reader.session = session;
    reader.thread = std::thread(&UsbLink::ReadUsbThreadProc, this, &reader);
    return true;
}

SearchResult UsbLink::lastSearch() const {
    std::lock_guard lock(m_stateMutex);
    return m_lastSearch;
}

bool UsbLink::findAndOpen() {
    const std::vector<std::string> paths = m_transport.interfacePaths();
    m_log.write(kEnumStart);
    SearchResult result;
    for (int index = 0; index < m_options.maxInterfaces; ++index) {
        if (static_cast<std::size_t>(index) >= paths.size()) {
            m_log.write(kEnumEnd);
            break;
        }
        m_log.write(kEnumOk);
        const std::string& path = paths[static_cast<std::size_t>(index)];
        bool permissionDenied = false;
        if (openInterface(path, permissionDenied)) {
            m_log.write(kFound);
            std::lock_guard lock(m_stateMutex);
            m_lastSearch = {SearchResult::Outcome::Opened, path};
            return true;
        }
        // The first locked processor is the one to name; a later one that opens wins.
        if (permissionDenied && result.outcome == SearchResult::Outcome::NoProcessor) {
            result = {SearchResult::Outcome::PermissionDenied, path};
        }
    }
    m_log.write(kNotFound);
    std::lock_guard lock(m_stateMutex);
    m_lastSearch = result;
    return false;
}

bool UsbLink::openInterface(const std::string& path, bool& permissionDenied) {
    if (path.empty()) {
        m_log.write(kNoPath);
        return false;
    }
    m_log.write(std::string(kPathPrefix) + path);
    m_log.write(kTryOpen);
    if (!m_transport.open(path)) {
        m_log.write(kOpenFailed);
        // Most hidraw nodes belong to root; only a locked processor is worth naming.
        const std::optional<HidAttributes> listed = m_transport.listedAttributes(path);
        permissionDenied = m_transport.lastOpenFailure() == OpenFailure::PermissionDenied &&
                           listed && isProcessor(*listed);
        if (permissionDenied) {
            m_log.write(kNoPermission + path);
        }
        return false;
    }
    m_log.write(kOpenOk);
    m_log.write(kReadingIdentity);
    const std::optional<HidAttributes> attributes = m_transport.attributes();
    if (!attributes) {
        m_log.write(kNoAttributes);
        m_transport.close();
        return false;
    }
    if (!isProcessor(*attributes)) {
        m_transport.close(); // someone else's device: no message
        return false;
    }
    std::lock_guard lock(m_stateMutex);
    m_devicePath = path;
    return true;
}

void UsbLink::ReadUsbThreadProc(ReaderThread* self) {
    m_readThreadEnd = false;
    m_log.write(kThreadStart);
    const auto current = [this, self] { return m_linkOpen && m_session == self->session; };
    Report buffer{};
    while (current()) {
        buffer.fill(0);
        const int received = m_transport.read(buffer, m_options.readSlice);
        if (received < 0) {
            if (!current()) {
                break; // the link was closed under the read; not a failure
            }
            m_log.write(kReadError);
            tellFailure(self->session);
            m_readThreadEnd = true;
            m_replyEvent.set(); // a waiting writer need not wait out its time
            break;
        }
        if (received == 0) {
            continue; // nothing yet; look at linkOpen again
        }
        // The handler has taken the report (queued it for the image's owner)
        // before a paced writer waiting for this reply may go on.
        m_inbound.handleReport(buffer);
        // A thread left behind by a close must not release writes of a newer link.
        if (m_session == self->session) {
            m_replyEvent.set();
        }
    }
    {
        std::lock_guard lock(m_exitMutex);
        self->exited = true;
    }
    m_exitCv.notify_all();
}

bool UsbLink::acceptsWrites() {
    if (!m_linkOpen) {
        return false;
    }
    if (m_readThreadEnd) {
        m_log.write(kBrokenWrite);
        return false;
    }
    return true;
}

void UsbLink::tellFailure(std::uint64_t session) {
    // Once per connection, whether the read or a write noticed first.
    std::uint64_t told = m_failureToldFor.load();
    while (told < session && !m_failureToldFor.compare_exchange_weak(told, session)) {
    }
    if (told >= session) {
        return;
    }
    std::function<void()> failed;
    {
        std::lock_guard lock(m_stateMutex);
        failed = m_readFailed;
    }
    if (failed) {
        failed();
    }
}

int UsbLink::WriteUsbData(const Report& report) {
    if (!acceptsWrites()) {
        return 0;
    }
    const std::uint64_t session = m_session;
    const Report local = report;
    awaitReply(session); // whether the reply came or not, the write goes ahead
    return writeReport(local, session);
}

int UsbLink::writeUnpaced(const Report& report) {
    if (!acceptsWrites()) {
        return 0;
    }
    return writeReport(report, m_session);
}

bool UsbLink::awaitReply(std::uint64_t session) {
    // A close ends the wait early; the write then finds the link closed. So does a
    // hurry that came after the wait began.
    const bool hurried = m_hurried;
    const auto gaveUp = [this, session, hurried] {
        return !m_linkOpen || m_session != session || m_hurried != hurried;
    };
    const bool replied =
        m_replyEvent.waitFor(hurried ? m_options.hurriedPacingWait : m_options.pacingWait, gaveUp);
    if (!replied && !gaveUp()) {
        ++m_pacingTimeouts;
    }
    return replied;
}

int UsbLink::writeReport(const Report& report, std::uint64_t session) {
    std::lock_guard lock(m_writeLock);
    return writeLocked(report, session);
}

int UsbLink::writeLocked(const Report& report, std::uint64_t session) {
    // The link may have been closed (or opened again on another device) while
    // this write waited for its reply.
    if (!m_linkOpen || m_session != session) {
        return 0;
    }
    const int written = m_transport.write(report);
    const int count = std::max(written, 0);
    if (count != static_cast<int>(kReportSize)) {
        m_log.write(kWriteError);
    }
    if (written < 0) {
        tellFailure(session); // the processor is as lost as after a failed read
    }
    return count;
}

void UsbLink::releasePacing() {
    m_replyEvent.set();
}

void UsbLink::hurry() {
    m_hurried = true;
    m_replyEvent.wakeAll();
}

void UsbLink::closeLink(bool sayGoodbye) {
    std::lock_guard guard(m_openCloseMutex);
    if (!m_linkOpen) {
        return;
    }
    m_inbound.linkClosing();
    if (sayGoodbye && acceptsWrites()) {
        const std::uint64_t session = m_session;
        awaitReply(session);
        // The goodbye is the last report: a writer that waited beside it finds the
        // link closed.
        std::lock_guard lock(m_writeLock);
        writeLocked(buildCommand(Command::Goodbye), session);
        m_linkOpen = false;
    }
    m_linkOpen = false;
    m_replyEvent.wakeAll(); // writers waiting for a reply of this link need not
    ReaderThread& reader = m_readers.back();
    // A close from inside the inbound handler cannot wait for its own thread.
    const bool onReader = reader.thread.get_id() == std::this_thread::get_id();
    const auto readerWait = m_hurried ? m_options.hurriedCloseWait : m_options.closeWait;
    if (!onReader && !waitForReaderExit(reader, readerWait)) {
        m_log.write(kCloseTimeout);
    }
    {
        std::lock_guard lock(m_writeLock);
        m_transport.close();
    }
    {
        std::lock_guard lock(m_stateMutex);
        m_devicePath.clear();
    }
    joinFinishedReaders(false);
}

bool UsbLink::waitForReaderExit(ReaderThread& reader, std::chrono::milliseconds limit) {
    std::unique_lock lock(m_exitMutex);
    return m_exitCv.wait_for(lock, limit, [&reader] { return reader.exited; });
}

void UsbLink::joinFinishedReaders(bool all) {
    for (auto it = m_readers.begin(); it != m_readers.end();) {
        bool exited = false;
        {
            std::lock_guard lock(m_exitMutex);
            exited = it->exited;
        }
        // A thread cannot join itself (a close from inside the inbound handler);
        // it is joined on the next open or when the link goes away.
        if (!(exited || all) || it->thread.get_id() == std::this_thread::get_id()) {
            ++it;
            continue;
        }
        if (it->thread.joinable()) {
            it->thread.join();
        }
        it = m_readers.erase(it);
    }
}

} // namespace quilo
