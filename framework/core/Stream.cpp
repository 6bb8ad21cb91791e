#include "framework/core/Stream.h"

#include "framework/core/SysUtils.h"
#include "platform/system/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

// ---- TStream -----------------------------------------------------------------------

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count < 0 || (count > 0 && Read(buffer, count) != count))
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count < 0 || (count > 0 && Write(buffer, count) != count))
        throw EWriteError("Stream write error");
}

int64_t TStream::Size()
{
    int64_t pos = Seek(0, soCurrent);
    int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

int64_t TStream::CopyFrom(TStream* source, int64_t count)
{
    if (count == 0) {
        source->SetPosition(0);
        count = source->Size();
    }
    int64_t done = 0;
    uint8_t buf[16384];
    while (done < count) {
        int64_t n = std::min<int64_t>(count - done, int64_t(sizeof buf));
        source->ReadBuffer(buf, n);
        WriteBuffer(buf, n);
        done += n;
    }
    return done;
}

// ---- TMemoryStream -----------------------------------------------------------------

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    int64_t size = int64_t(FData.size());
    if (count <= 0 || FPosition >= size)
        return 0;
    int64_t n = std::min(count, size - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, size_t(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    // Writing past the end fills the gap with zeros.
    if (FPosition + count > int64_t(FData.size()))
        FData.resize(size_t(FPosition + count));
    std::memcpy(FData.data() + FPosition, buffer, size_t(count));
    FPosition += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : int64_t(FData.size());
    int64_t pos = base + offset;
    if (pos < 0)
        throw EStreamError("Stream seek before the start");
    FPosition = pos;
    return FPosition;
}

void TMemoryStream::SetSize(int64_t size)
{
    if (size < 0)
        throw EStreamError("Negative stream size");
    FData.resize(size_t(size));
    if (FPosition > size)
        FPosition = size;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream)
{
    stream->SetPosition(0);
    int64_t size = stream->Size();
    std::vector<uint8_t> data(static_cast<size_t>(size));
    if (size > 0)
        stream->ReadBuffer(data.data(), size);
    FData.swap(data);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream* stream)
{
    if (!FData.empty())
        stream->WriteBuffer(FData.data(), int64_t(FData.size()));
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

void TMemoryStream::SaveToFile(const std::string& fileName)
{
    TFileStream f(fileName, fmCreate);
    SaveToStream(&f);
}

// ---- TFileStream -------------------------------------------------------------------

TFileStream::TFileStream(const std::string& fileName, uint16_t mode)
    : FFileName(fileName)
{
    if (mode == fmCreate || (mode & 0xFF00) == fmCreate) {
        FHandle = std::fopen(fileName.c_str(), "w+b");
        if (!FHandle)
            throw EFCreateError(Format("Cannot create file \"%s\". %s", ExpandFileName(fileName),
                std::strerror(errno)));
        FCanRead = FCanWrite = true;
        return;
    }
    switch (mode & 0x0F) {
    case fmOpenRead:
        FHandle = std::fopen(fileName.c_str(), "rb");
        FCanRead = true;
        break;
    case fmOpenWrite:
        FHandle = std::fopen(fileName.c_str(), "r+b");
        FCanWrite = true;
        break;
    case fmOpenReadWrite:
        FHandle = std::fopen(fileName.c_str(), "r+b");
        FCanRead = FCanWrite = true;
        break;
    default:
        errno = EINVAL;
        break;
    }
    if (!FHandle)
        throw EFOpenError(Format("Cannot open file \"%s\". %s", ExpandFileName(fileName),
            std::strerror(errno)));
}

TFileStream::~TFileStream()
{
    if (FHandle)
        std::fclose(FHandle);
}

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    if (!FCanRead || count <= 0)
        return 0;
    if (FLastWasWrite)
        std::fseek(FHandle, 0, SEEK_CUR);
    FLastWasWrite = false;
    return int64_t(std::fread(buffer, 1, size_t(count), FHandle));
}

int64_t TFileStream::Write(const void* buffer, int64_t count)
{
    if (!FCanWrite || count <= 0)
        return 0;
    if (!FLastWasWrite)
        std::fseek(FHandle, 0, SEEK_CUR);
    FLastWasWrite = true;
    return int64_t(std::fwrite(buffer, 1, size_t(count), FHandle));
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
    int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    if (std::fseek(FHandle, long(offset), whence) != 0)
        throw EStreamError(Format("Cannot seek in file \"%s\"", FFileName));
    FLastWasWrite = false;
    return int64_t(std::ftell(FHandle));
}

void TFileStream::SetSize(int64_t size)
{
    int64_t pos = Position();
    if (!FCanWrite || !plat::ResizeOpenFile(FHandle, size))
        throw EStreamError(Format("Cannot set the size of file \"%s\"", FFileName));
    if (pos > size)
        Seek(size, soBeginning);
}
