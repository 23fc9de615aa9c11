// Finds the drive letter of the virtual CD recorder: every drive from C: to Z: is asked for its
// SCSI INQUIRY data, once, on a thread of its own, and the drive whose vendor is the recorder's is
// described in one line for the manager window and the tray tooltip.
#pragma once

#include "app/framework/Scoped.h"

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstddef>
#include <memory>
#include <string>

// The vendor identification the recorder's driver answers INQUIRY with.
constexpr char kRecorderVendor[] = "Quaverln";
constexpr DWORD kInquiryLength = 96;
constexpr size_t kSenseLength = 32;
constexpr BYTE kScsiStatusGood = 0;
constexpr BYTE kScsiStatusBusy = 8;
constexpr BYTE kScsiStateGood = 1;
constexpr BYTE kScsiStateError = 4;

// The direct pass-through request with its sense bytes behind it: one block that is both the
// input and the output of the control request. The sense bytes start on the first quadword
// boundary after the header: 48 in the 32-bit block, the layout its storage drivers are sent.
struct ScsiPassThroughRequest {
    SCSI_PASS_THROUGH_DIRECT header;
    alignas(8) UCHAR sense[kSenseLength];
};
#ifndef _WIN64
// The 32-bit program is what ships; its block must be the one the storage drivers there expect.
static_assert(sizeof(SCSI_PASS_THROUGH_DIRECT) == 44);
static_assert(offsetof(ScsiPassThroughRequest, sense) == 48);
static_assert(sizeof(ScsiPassThroughRequest) == 80);
#endif

// What the last command sent left behind, kept program-wide.
struct ScsiCommandResult {
    BYTE state; // kScsiStateGood or kScsiStateError
    BYTE scsiStatus;
    BYTE sense[kSenseLength];
};

// One opened drive; it is closed when the object goes.
class ScsiDevice {
public:
    virtual ~ScsiDevice() = default;
    // The control request with block as both its input and its output; false when the request
    // itself failed.
    virtual bool Control(DWORD code, void* block, DWORD size) = 0;
};

// How the scan reaches the drives. Tests put a recorder of their own on a drive letter.
class ScsiDeviceAccess {
public:
    // The drive with the letter opened for the pass-through; null when it cannot be opened.
    virtual std::unique_ptr<ScsiDevice> OpenDrive(char letter) const = 0;

protected:
    ~ScsiDeviceAccess() = default;
};

// The system's drives: "\\.\X:" opened for reading and writing, else for reading only.
const ScsiDeviceAccess& SystemScsiDevices();

// Sends one command with the data going to the device (dataOut given) or coming from it. 1 when
// the device carried it out, whatever its status; 0 when the request failed or the device was
// busy. Either way the result is kept for LastScsiCommandResult.
int SendScsiCommand(ScsiDevice& device, const BYTE* cdb, size_t cdbLength, DWORD dataOutLength,
                    const void* dataOut, DWORD dataInLength, void* dataIn);
ScsiCommandResult LastScsiCommandResult();

// The device's INQUIRY data into buffer (kInquiryLength bytes); true when the device answered
// with good status.
bool InquireDevice(ScsiDevice& device, BYTE* buffer);

// "%c: %s %s" with the recorder's drive letter, vendor and product, or empty when no drive is
// the recorder. The blanks INQUIRY pads vendor and product with are left out, and a byte that is
// not printable ASCII shows as a blank.
std::string FindVirtualRecorder(const ScsiDeviceAccess& devices = SystemScsiDevices());

// The description the last scan published; empty until a scan has found the recorder. Safe to
// read from any thread at any time.
std::string GetRecorderDescription();

// The scan thread's work: publishes what FindVirtualRecorder finds and then, if the window still
// exists, posts it WM_DEVICE_FOUND. Exit code 0.
unsigned RecorderScanThreadProc(HWND window, const ScsiDeviceAccess& devices);

// Starts the scan on a thread of its own with normal priority, for the window to be told when it
// ends. Nobody has to wait for the thread: what it leaves behind lasts as long as the process.
// The handle returned lets a caller wait all the same; null when the thread could not start.
// devices must outlive the thread.
ScopedHandle StartRecorderScan(HWND window, const ScsiDeviceAccess& devices = SystemScsiDevices());
