#pragma once
// TFiler: the common base of the form reader and writer. A persistent object's
// DefineProperties names its non-published data through it: a text value read and
// written through TReader / TWriter calls, or a binary value read and written as raw
// bytes through a stream. The reader calls the read procedure of the property that it
// meets; the writer calls the write procedure when hasData is true.

#include "framework/core/Component.h"

#include <functional>
#include <string>

class TStream;

class TFiler : public TObject {
public:
    using TReaderProc = std::function<void(TReader&)>;
    using TWriterProc = std::function<void(TWriter&)>;
    using TStreamProc = std::function<void(TStream&)>;

    virtual void DefineProperty(const std::string& name, TReaderProc readData,
        TWriterProc writeData, bool hasData) = 0;
    virtual void DefineBinaryProperty(const std::string& name, TStreamProc readData,
        TStreamProc writeData, bool hasData) = 0;

    TComponent* Root() const { return FRoot; }

protected:
    TComponent* FRoot = nullptr;
};
