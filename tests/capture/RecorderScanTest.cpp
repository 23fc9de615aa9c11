#include "app/Messages.h"
#include "app/framework/GdiScoped.h"
#include "capture/RecorderScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

// How a fake drive answers the pass-through request. Every way but Inquiry and RandomData still
// leaves the drive's INQUIRY data in the buffer, so that a scan which believes it shows.
enum class Answer { Inquiry, Busy, CheckCondition, RequestFails, TimesOut, ShortData, RandomData };

struct FakeDrive {
    Answer answer = Answer::Inquiry;
    std::string vendor = kRecorderVendor;
    std::string product = "Virtual CD-R";
};

// Fixed-format sense data: illegal request, invalid command operation code.
const std::vector<BYTE> kIllegalRequestSense = [] {
    std::vector<BYTE> sense(kSenseLength, 0);
    sense[0] = 0x70;
    sense[2] = 0x05;
    sense[7] = 10;
    sense[12] = 0x20;
    return sense;
}();

// INQUIRY data as a CD drive sends it: identification fields padded with blanks.
std::vector<BYTE> InquiryData(const FakeDrive& drive) {
    std::vector<BYTE> data(kInquiryLength, 0);
    data[0] = 0x05;
    data[4] = kInquiryLength - 5;
    std::fill(data.begin() + 8, data.begin() + 32, ' ');
    memcpy(&data[8], drive.vendor.data(), std::min<size_t>(drive.vendor.size(), 8));
    memcpy(&data[16], drive.product.data(), std::min<size_t>(drive.product.size(), 16));
    memcpy(&data[32], "1.00", 4);
    return data;
}

class FakeDevices;

class FakeDevice final : public ScsiDevice {
public:
    FakeDevice(const FakeDevices& owner, const FakeDrive& drive) : m_owner(owner), m_drive(drive) {}
    bool Control(DWORD code, void* block, DWORD size) override;

private:
    const FakeDevices& m_owner;
    const FakeDrive& m_drive;
};

// Drives on letters as a test sets them up; the letters asked and the last request as it came in.
class FakeDevices final : public ScsiDeviceAccess {
public:
    std::map<char, FakeDrive> drives;
    mutable std::string asked;
    mutable DWORD code = 0;
    mutable DWORD size = 0;
    mutable ScsiPassThroughRequest request{};

    std::unique_ptr<ScsiDevice> OpenDrive(char letter) const override {
        asked += letter;
        auto found = drives.find(letter);
        if (found == drives.end()) {
            return nullptr;
        }
        return std::make_unique<FakeDevice>(*this, found->second);
    }
};

bool FakeDevice::Control(DWORD code, void* block, DWORD size) {
    m_owner.code = code;
    m_owner.size = size;
    if (size != sizeof(ScsiPassThroughRequest)) {
        return false;
    }
    auto* request = static_cast<ScsiPassThroughRequest*>(block);
    m_owner.request = *request;
    SCSI_PASS_THROUGH_DIRECT& header = request->header;
    std::vector<BYTE> answer = InquiryData(m_drive);
    if (m_drive.answer == Answer::ShortData) {
        answer.resize(12); // cut inside the vendor
    } else if (m_drive.answer == Answer::RandomData) {
        unsigned seed = 12345;
        for (BYTE& byte : answer) {
            seed = seed * 1103515245 + 12345;
            byte = static_cast<BYTE>(seed >> 16);
        }
    }
    if (header.DataIn == SCSI_IOCTL_DATA_IN && header.DataBuffer != nullptr) {
        header.DataTransferLength =
            std::min<DWORD>(header.DataTransferLength, static_cast<DWORD>(answer.size()));
        memcpy(header.DataBuffer, answer.data(), header.DataTransferLength);
    }
    switch (m_drive.answer) {
    case Answer::Busy:
        header.ScsiStatus = 8;
        return true;
    case Answer::CheckCondition:
        header.ScsiStatus = 2;
        std::copy(kIllegalRequestSense.begin(), kIllegalRequestSense.end(), request->sense);
        return true;
    case Answer::RequestFails:
        SetLastError(ERROR_INVALID_FUNCTION);
        return false;
    case Answer::TimesOut:
        Sleep(20);
        SetLastError(ERROR_SEM_TIMEOUT);
        return false;
    default:
        header.ScsiStatus = 0;
        return true;
    }
}

HWND MessageWindow() {
    return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// Starts the scan, waits for its thread to end and gives its exit code.
DWORD ScanAndWait(HWND window, const ScsiDeviceAccess& devices, DWORD timeoutMs) {
    ScopedHandle thread = StartRecorderScan(window, devices);
    if (!thread || WaitForSingleObject(thread.Get(), timeoutMs) != WAIT_OBJECT_0) {
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeThread(thread.Get(), &code);
    return code;
}

bool TakeDeviceFound(HWND window, MSG* message) {
    return PeekMessageA(message, window, WM_DEVICE_FOUND, WM_DEVICE_FOUND, PM_REMOVE) != FALSE;
}

} // namespace

TEST(RecorderScan, TheRecorderIsFoundBehindAnotherVendorsDriveInAnyLetterCase) {
    // Catches a scan that takes the first drive that answers, matches the vendor's letter case, or
    // shows the blanks INQUIRY pads its fields with.
    FakeDevices devices;
    devices.drives['D'] = {Answer::Inquiry, "HL-DT-ST", "DVDRAM GH24NSD1"};
    devices.drives['E'] = {};
    EXPECT_EQ(FindVirtualRecorder(devices), "E: Quaverln Virtual CD-R");

    devices.drives['E'] = {Answer::Inquiry, "qUAVERLN", "VIRTUAL CD-R"};
    EXPECT_EQ(FindVirtualRecorder(devices), "E: qUAVERLN VIRTUAL CD-R");
}

TEST(RecorderScan, DrivesThatDoNotAnswerProperlyAreSkippedUpToTheLastLetter) {
    // Catches a scan that believes a busy, failed, timed-out or check-condition answer, reads a
    // short answer over what the drive before left in the buffer, stops early or misses Z:.
    FakeDevices devices;
    devices.drives['C'] = {Answer::Busy};
    devices.drives['D'] = {Answer::RequestFails};
    devices.drives['E'] = {Answer::TimesOut};
    devices.drives['F'] = {Answer::CheckCondition};
    devices.drives['G'] = {Answer::ShortData};
    devices.drives['H'] = {Answer::RandomData};
    EXPECT_EQ(FindVirtualRecorder(devices), "") << "no recorder among them";
    EXPECT_EQ(devices.asked, "CDEFGHIJKLMNOPQRSTUVWXYZ");

    devices.drives['Z'] = {};
    EXPECT_EQ(FindVirtualRecorder(devices), "Z: Quaverln Virtual CD-R");
}

TEST(RecorderScan, OnlyPrintableTextOfTheAnswerReachesTheScreen) {
    // Catches control or high bytes of a confused device's answer drawn as garbage, and the bytes
    // after a zero byte that ends a field.
    FakeDevices devices;
    devices.drives['E'] = {Answer::Inquiry, kRecorderVendor, "Virtual\aCD-R\x01\xFF\0j"s};
    EXPECT_EQ(FindVirtualRecorder(devices), "E: Quaverln Virtual CD-R");
}

TEST(RecorderScan, TheInquiryGoesOutAsOneDirectPassThroughBlock) {
    // Catches a request a storage driver would refuse or misread: control code, block or header
    // size, CDB, direction, data length, sense length, time-out or sense offset.
    FakeDevices devices;
    devices.drives['C'] = {};
    std::unique_ptr<ScsiDevice> device = devices.OpenDrive('C');
    BYTE buffer[kInquiryLength];
    ASSERT_TRUE(InquireDevice(*device, buffer));
    EXPECT_EQ(devices.code, 0x4D014u);
    EXPECT_EQ(devices.size, sizeof(ScsiPassThroughRequest));
    const SCSI_PASS_THROUGH_DIRECT& header = devices.request.header;
    EXPECT_EQ(size_t{header.Length}, sizeof(SCSI_PASS_THROUGH_DIRECT));
    EXPECT_EQ(std::vector<BYTE>(header.Cdb, header.Cdb + header.CdbLength),
              (std::vector<BYTE>{0x12, 0x00, 0x00, 0x00, 0x60, 0x00}));
    EXPECT_EQ(header.DataIn, SCSI_IOCTL_DATA_IN);
    EXPECT_EQ(header.DataTransferLength, 96u);
    EXPECT_EQ(header.DataBuffer, buffer);
    EXPECT_EQ(header.SenseInfoLength, 32);
    EXPECT_EQ(header.TimeOutValue, 2u);
    // Right after the header, on its next quadword boundary (48 in the 32-bit block).
    EXPECT_EQ(size_t{header.SenseInfoOffset}, (sizeof(SCSI_PASS_THROUGH_DIRECT) + 7) / 8 * 8);
    EXPECT_EQ(size_t{header.SenseInfoOffset} + kSenseLength, sizeof(ScsiPassThroughRequest));

    // Data for the device goes the other way through the same field.
    const BYTE kModeSelect[] = {0x15, 0x10, 0x00, 0x00, 12, 0x00};
    BYTE parameters[12] = {};
    EXPECT_EQ(SendScsiCommand(*device, kModeSelect, sizeof(kModeSelect), sizeof(parameters), parameters, 0,
                              nullptr),
              1);
    EXPECT_EQ(header.DataIn, SCSI_IOCTL_DATA_OUT);
    EXPECT_EQ(header.DataTransferLength, 12u);
    EXPECT_EQ(header.DataBuffer, parameters);
}

TEST(RecorderScan, TheLastCommandResultTellsBusyCheckConditionAndGoodApart) {
    // Catches a busy device counted as an answer, a check condition taken for good status, and a
    // status or sense bytes that are not kept.
    FakeDevices devices;
    devices.drives['C'] = {Answer::Busy};
    devices.drives['D'] = {Answer::CheckCondition};
    devices.drives['E'] = {};
    const BYTE kTestUnitReady[6] = {};
    auto send = [&](char letter) {
        return SendScsiCommand(*devices.OpenDrive(letter), kTestUnitReady, sizeof(kTestUnitReady), 0, nullptr,
                               0, nullptr);
    };

    EXPECT_EQ(send('C'), 0);
    ScsiCommandResult result = LastScsiCommandResult();
    EXPECT_EQ(result.state, 4);
    EXPECT_EQ(result.scsiStatus, 8);

    EXPECT_EQ(send('D'), 1);
    result = LastScsiCommandResult();
    EXPECT_EQ(result.state, 4);
    EXPECT_EQ(result.scsiStatus, 2);
    EXPECT_EQ(std::vector<BYTE>(result.sense, result.sense + kSenseLength), kIllegalRequestSense);

    EXPECT_EQ(send('E'), 1);
    result = LastScsiCommandResult();
    EXPECT_EQ(result.state, 1);
    EXPECT_EQ(result.scsiStatus, 0);
}

TEST(RecorderScan, TheThreadTellsALiveWindowAndPublishesEvenWhenItsWindowHasGone) {
    // Catches a scan whose end the manager never hears of (or hears of twice), a description not
    // handed over to the user-interface thread, and one kept to itself once the window has gone.
    FakeDevices devices;
    devices.drives['E'] = {};
    ScopedWindow window(MessageWindow());
    ASSERT_TRUE(window);
    ASSERT_EQ(ScanAndWait(window.Get(), devices, 10000), 0u);
    MSG message;
    ASSERT_TRUE(TakeDeviceFound(window.Get(), &message));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(message.lParam, 0);
    EXPECT_EQ(GetRecorderDescription(), "E: Quaverln Virtual CD-R");
    EXPECT_FALSE(TakeDeviceFound(window.Get(), &message)) << "told once";

    devices.drives.clear();
    devices.drives['F'] = {};
    HWND gone = window.Get();
    window.Reset();
    ASSERT_EQ(ScanAndWait(gone, devices, 10000), 0u);
    EXPECT_EQ(GetRecorderDescription(), "F: Quaverln Virtual CD-R");
    EXPECT_FALSE(TakeDeviceFound(nullptr, &message));
}

TEST(RecorderScan, TheSystemsOwnDrivesAreAskedToTheEnd) {
    // Catches the real open and control path hanging or crashing on what the system offers.
    ScopedWindow window(MessageWindow());
    ASSERT_TRUE(window);
    ASSERT_EQ(ScanAndWait(window.Get(), SystemScsiDevices(), 120000), 0u);
    MSG message;
    EXPECT_TRUE(TakeDeviceFound(window.Get(), &message));
    // Wine offers no recorder, but a machine that has one may run this too.
    std::string description = GetRecorderDescription();
    EXPECT_TRUE(description.empty() ||
                (description.size() > 11 && description[0] >= 'C' && description[0] <= 'Z' &&
                 description.compare(1, 2, ": ") == 0 && _strnicmp(&description[3], kRecorderVendor, 8) == 0))
        << description;
}
