#pragma once
// Byte streams: TStream (the abstract interface with checked whole-buffer reads and
// writes), TMemoryStream (a growable block of memory) and TFileStream (a file on disk).
// A stream belongs to one thread at a time.

#include "framework/core/Component.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    // Reads or writes up to count bytes at the position; returns how many were moved.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Moves the position; returns the new position.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    // All count bytes or EReadError / EWriteError.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t size) = 0;

    // Copies count bytes from source's position; count 0 copies all of source from its
    // start. Returns the number of bytes copied.
    int64_t CopyFrom(TStream* source, int64_t count);
};

class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return int64_t(FData.size()); }
    void SetSize(int64_t size) override;   // keeps the position unless it lies past the end

    void* Memory() { return FData.data(); }
    const void* Memory() const { return FData.data(); }
    void Clear();

    void LoadFromStream(TStream* stream);  // the whole stream from its start
    void SaveToStream(TStream* stream);    // the whole memory at the stream's position
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

private:
    std::vector<uint8_t> FData;
    int64_t FPosition = 0;
};

// Open modes: one access mode, or fmCreate; share flags are accepted and ignored.
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;
constexpr uint16_t fmCreate = 0xFF00;

// A file opened for the life of the object. fmCreate creates or truncates it;
// EFCreateError / EFOpenError name the file when that fails.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, uint16_t mode);
    ~TFileStream() override;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;

    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
    std::FILE* FHandle = nullptr;
    bool FCanRead = false, FCanWrite = false;
    bool FLastWasWrite = false;   // C streams need a seek between writing and reading
};
