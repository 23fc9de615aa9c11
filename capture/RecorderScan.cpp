#include "capture/RecorderScan.h"

#include "app/Messages.h"

#include <process.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

constexpr ULONG kTimeOutSeconds = 2;
constexpr size_t kVendorOffset = 8;
constexpr size_t kVendorLength = 8;
constexpr size_t kProductOffset = 16;
constexpr size_t kProductLength = 16;
static_assert(sizeof(kRecorderVendor) - 1 == kVendorLength);
// "X: ", vendor, blank, product, terminator.
constexpr size_t kDescriptionSize = 3 + kVendorLength + 1 + kProductLength + 1;

// What the scan thread leaves for the user-interface thread: plain bytes under a lock that needs
// no clean-up, so that a scan still running while the program exits finds them intact.
SRWLOCK scanLock = SRWLOCK_INIT;
char recorderDescription[kDescriptionSize] = "";
ScsiCommandResult lastResult = {};

class SystemDrive final : public ScsiDevice {
public:
    explicit SystemDrive(ScopedFileHandle handle) : m_handle(std::move(handle)) {}

    bool Control(DWORD code, void* block, DWORD size) override {
        DWORD returned = 0;
        return DeviceIoControl(m_handle.Get(), code, block, size, block, size, &returned, nullptr) != FALSE;
    }

private:
    ScopedFileHandle m_handle;
};

class SystemDrives final : public ScsiDeviceAccess {
public:
    std::unique_ptr<ScsiDevice> OpenDrive(char letter) const override {
        char path[] = "\\\\.\\?:";
        path[4] = letter;
        // A user without administrator rights may get read access only.
        ScopedFileHandle drive(Open(path, GENERIC_READ | GENERIC_WRITE));
        if (!drive) {
            drive.Reset(Open(path, GENERIC_READ));
        }
        if (!drive) {
            return nullptr;
        }
        return std::make_unique<SystemDrive>(std::move(drive));
    }

private:
    static HANDLE Open(const char* path, DWORD access) {
        return CreateFileA(path, access, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    }
};

// An identification field of the INQUIRY data as text for the screen: up to its first zero byte,
// anything but printable ASCII as a blank (a confused device must not put control bytes on the
// screen), and without the blanks INQUIRY pads the field with.
std::string FieldText(const BYTE* field, size_t length) {
    const char* text = reinterpret_cast<const char*>(field);
    std::string shown(text, strnlen(text, length));
    std::replace_if(
        shown.begin(), shown.end(), [](char c) { return c < 0x20 || c > 0x7E; }, ' ');
    shown.erase(shown.find_last_not_of(' ') + 1);
    return shown;
}

struct ScanOrder {
    HWND window;
    const ScsiDeviceAccess* devices;
};

unsigned __stdcall ScanThread(void* parameter) {
    std::unique_ptr<ScanOrder> order(static_cast<ScanOrder*>(parameter));
    return RecorderScanThreadProc(order->window, *order->devices);
}

} // namespace

const ScsiDeviceAccess& SystemScsiDevices() {
    static const SystemDrives drives;
    return drives;
}

int SendScsiCommand(ScsiDevice& device, const BYTE* cdb, size_t cdbLength, DWORD dataOutLength,
                    const void* dataOut, DWORD dataInLength, void* dataIn) {
    ScsiPassThroughRequest request{};
    SCSI_PASS_THROUGH_DIRECT& header = request.header;
    header.Length = static_cast<USHORT>(sizeof(header));
    header.CdbLength = static_cast<UCHAR>(std::min(cdbLength, sizeof(header.Cdb)));
    header.SenseInfoLength = static_cast<UCHAR>(kSenseLength);
    header.TimeOutValue = kTimeOutSeconds;
    header.SenseInfoOffset = offsetof(ScsiPassThroughRequest, sense);
    memcpy(header.Cdb, cdb, header.CdbLength);
    if (dataOut != nullptr) {
        header.DataIn = SCSI_IOCTL_DATA_OUT;
        header.DataTransferLength = dataOutLength;
        // One buffer field serves both directions; data going out is only read from it.
        header.DataBuffer = const_cast<void*>(dataOut);
    } else {
        header.DataIn = SCSI_IOCTL_DATA_IN;
        header.DataTransferLength = dataIn != nullptr ? dataInLength : 0;
        header.DataBuffer = dataIn;
    }
    // A command longer than the request holds is not sent cut short.
    bool sent = cdbLength <= sizeof(header.Cdb) &&
                device.Control(IOCTL_SCSI_PASS_THROUGH_DIRECT, &request, sizeof(request));

    ScsiCommandResult result{};
    result.scsiStatus = header.ScsiStatus;
    memcpy(result.sense, request.sense, kSenseLength);
    // A busy device did not take the command at all; any other status is its answer to it.
    int carriedOut = sent && result.scsiStatus != kScsiStatusBusy ? 1 : 0;
    result.state = carriedOut != 0 && result.scsiStatus == kScsiStatusGood ? kScsiStateGood : kScsiStateError;
    ScopedExclusiveLock hold(scanLock);
    lastResult = result;
    return carriedOut;
}

ScsiCommandResult LastScsiCommandResult() {
    ScopedExclusiveLock hold(scanLock);
    return lastResult;
}

bool InquireDevice(ScsiDevice& device, BYTE* buffer) {
    static constexpr BYTE kInquiry[] = {0x12, 0x00, 0x00, 0x00, kInquiryLength, 0x00};
    memset(buffer, 0, kInquiryLength);
    SendScsiCommand(device, kInquiry, sizeof(kInquiry), 0, nullptr, kInquiryLength, buffer);
    return LastScsiCommandResult().state == kScsiStateGood;
}

std::string FindVirtualRecorder(const ScsiDeviceAccess& devices) {
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        std::unique_ptr<ScsiDevice> device = devices.OpenDrive(letter);
        // Zeroed by InquireDevice: a short answer leaves no vendor to match.
        BYTE inquiry[kInquiryLength];
        if (device && InquireDevice(*device, inquiry) &&
            _strnicmp(reinterpret_cast<const char*>(inquiry + kVendorOffset), kRecorderVendor,
                      kVendorLength) == 0) {
            char description[kDescriptionSize];
            snprintf(description, sizeof(description), "%c: %s %s", letter,
                     FieldText(inquiry + kVendorOffset, kVendorLength).c_str(),
                     FieldText(inquiry + kProductOffset, kProductLength).c_str());
            return description;
        }
    }
    return {};
}

std::string GetRecorderDescription() {
    ScopedExclusiveLock hold(scanLock);
    return recorderDescription;
}

unsigned RecorderScanThreadProc(HWND window, const ScsiDeviceAccess& devices) {
    std::string description = FindVirtualRecorder(devices);
    {
        ScopedExclusiveLock hold(scanLock);
        lstrcpynA(recorderDescription, description.c_str(), sizeof(recorderDescription));
    }
    // The window can have gone while the drives were asked: the program was quick to exit.
    if (IsWindow(window)) {
        PostMessageA(window, WM_DEVICE_FOUND, 0, 0);
    }
    return 0;
}

ScopedHandle StartRecorderScan(HWND window, const ScsiDeviceAccess& devices) {
    auto order = std::make_unique<ScanOrder>(ScanOrder{window, &devices});
    // _beginthreadex rather than CreateThread: the scan uses the C runtime.
    ScopedHandle thread(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ScanThread, order.get(), 0, nullptr)));
    if (thread) {
        order.release();
    }
    return thread;
}
