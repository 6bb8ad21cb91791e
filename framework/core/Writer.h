#pragma once
// TWriter: writes a root component and the components inside it in the text form
// description format that TReader reads (see Reader.h), so that reading a description
// and writing it again gives the same text.
//
// For each object: its published properties in table order (those equal to their
// declared default, empty strings, zero floats and unset events and references are left
// out; sub-objects are written with dotted names), then its defined properties, then the
// components that GetChildren hands over. Two spaces of indent per level; binary values
// as upper-case hex, 32 bytes per line. GUI thread only.

#include "framework/core/Filer.h"

#include <cstdint>
#include <string>

struct TPropInfo;

class TWriter : public TFiler {
public:
    TWriter() = default;

    void WriteRootComponent(TComponent* root);
    const std::string& Text() const { return FText; }

    // The value of a defined property (for DefineProperty write procs); one per property.
    void WriteInteger(int64_t value);
    void WriteBoolean(bool value);
    void WriteFloat(double value);
    void WriteString(const std::string& value);
    void WriteIdent(const std::string& ident);
    void WriteChar(char value);
    // A list value: WriteListBegin, the values, WriteListEnd; one value per line.
    void WriteListBegin();
    void WriteListEnd();

    void DefineProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
        bool hasData) override;
    void DefineBinaryProperty(const std::string& name, TStreamProc readData,
        TStreamProc writeData, bool hasData) override;

private:
    void WriteComponent(TComponent* c, int depth);
    void WriteProperties(TPersistent* obj, const std::string& prefix, int depth);
    void WriteProperty(TPersistent* obj, const TPropInfo& prop, const std::string& prefix,
        int depth);
    void Line(int depth, const std::string& text);
    void SetPending(std::string text);

    std::string FText;
    std::string FPrefix;
    int FDepth = 0;
    std::string FPending;
    bool FHasPending = false;
    bool FInList = false;
    std::string FList;
};

// The text description of root and everything written inside it.
std::string WriteComponentRes(TComponent* root);
