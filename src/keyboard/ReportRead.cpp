// Why overlapped: a reader must end while its keyboard is still plugged in
// (a standard keyboard given up for the maker's model, the program closing
// the keyboard), and a synchronous read of a keyboard nobody touches never
// returns. Closing the handle under such a read is no way out: Windows 98
// may keep the read pending, or make the close wait for it. Windows 98 has
// CancelIo, which cancels only the calling thread's reads, and not
// CancelIoEx: so the reader itself waits on its read and a stop event
// together, and on a stop cancels its own read and waits for it to complete
// before it lets go of the buffer.
#include "keyboard/ReportRead.h"
#include "keyboard/KeyboardDevice.h"

namespace {

enum class Piece { kWhole, kMore, kStopped, kGone };

Piece ReadPiece(HANDLE device, HANDLE stopEvent, HANDLE readEvent, BYTE* buffer, DWORD size, DWORD* got)
{
    *got = 0;
    // Reports already queued complete at once: the stop is checked before
    // every read, so a busy keyboard cannot hold its reader.
    if (WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0) return Piece::kStopped;
    OVERLAPPED read;
    ZeroMemory(&read, sizeof read);
    read.hEvent = readEvent;
    ResetEvent(readEvent);
    if (ReadFile(device, buffer, size, got, &read)) return Piece::kWhole;
    DWORD error = GetLastError();
    if (error == ERROR_IO_PENDING) {
        const HANDLE events[2] = { readEvent, stopEvent };
        if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
            CancelIo(device);
            GetOverlappedResult(device, &read, got, TRUE);  // the buffer is free once this returns
            return WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0 ? Piece::kStopped : Piece::kGone;
        }
        if (GetOverlappedResult(device, &read, got, FALSE)) return Piece::kWhole;
        error = GetLastError();
    }
    return error == ERROR_MORE_DATA ? Piece::kMore : Piece::kGone;
}

}  // namespace

ReadResult ReadReport(HANDLE device, HANDLE stopEvent, HANDLE readEvent, BYTE* buffer, USHORT length,
                      DWORD* bytesRead)
{
    Piece piece = ReadPiece(device, stopEvent, readEvent, buffer, length, bytesRead);
    // A message longer than the read (a simulated keyboard's pipe reports it
    // as ERROR_MORE_DATA) is drained and dropped whole, so its tail is never
    // taken for a report of its own.
    if (piece == Piece::kMore) {
        *bytesRead = 0;
        BYTE rest[kReportBufferSize];
        DWORD got = 0;
        do piece = ReadPiece(device, stopEvent, readEvent, rest, sizeof rest, &got);
        while (piece == Piece::kMore);
    }
    if (piece == Piece::kWhole) return ReadResult::kReport;
    return piece == Piece::kStopped ? ReadResult::kStopped : ReadResult::kGone;
}
