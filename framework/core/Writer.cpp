#include "framework/core/Writer.h"

#include "framework/core/FormText_p.h"
#include "framework/core/Stream.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"

void TWriter::WriteRootComponent(TComponent* root)
{
    FRoot = root;
    FText.clear();
    WriteComponent(root, 0);
}

void TWriter::Line(int depth, const std::string& text)
{
    FText.append(size_t(depth) * 2, ' ');
    FText += text;
    FText += '\n';
}

void TWriter::WriteComponent(TComponent* c, int depth)
{
    std::string head = "object ";
    if (!c->Name().empty())
        head += c->Name() + ": ";
    head += c->ClassName();
    Line(depth, head);
    c->FComponentState |= csWriting;
    try {
        WriteProperties(c, "", depth + 1);
        c->GetChildren([this, depth](TComponent* child) { WriteComponent(child, depth + 1); }, FRoot);
    } catch (...) {
        c->FComponentState &= ~TComponentState(csWriting);
        throw;
    }
    c->FComponentState &= ~TComponentState(csWriting);
    Line(depth, "end");
}

void TWriter::WriteProperties(TPersistent* obj, const std::string& prefix, int depth)
{
    if (const TClassInfo* ci = ClassInfoOf(obj))
        for (const TPropInfo* p : ci->Properties())
            if (!p->Stored || p->Stored(obj))
                WriteProperty(obj, *p, prefix, depth);
    std::string savePrefix = FPrefix;
    int saveDepth = FDepth;
    FPrefix = prefix;
    FDepth = depth;
    obj->DefineProperties(this);
    FPrefix = savePrefix;
    FDepth = saveDepth;
}

void TWriter::WriteProperty(TPersistent* obj, const TPropInfo& prop, const std::string& prefix,
    int depth)
{
    std::string value;
    switch (prop.Kind) {
    case tkInteger:
    case tkInt64:
    case tkBool:
    case tkEnumeration:
    case tkSet:
    case tkChar:
    case tkColor: {
        int64_t v = prop.GetOrd(obj);
        if (prop.OrdDefault && *prop.OrdDefault == v)
            return;
        if (prop.Kind == tkBool) {
            value = v ? "True" : "False";
        } else if (prop.Kind == tkEnumeration) {
            if (v < 0 || v >= int64_t(prop.Names.size()))
                throw EWriteError(Format("Invalid value %d of property %s", v, prop.Name));
            value = prop.Names[size_t(v)];
        } else if (prop.Kind == tkSet) {
            if (uint64_t(v) >> prop.Names.size() && prop.Names.size() < 64)
                throw EWriteError(Format("Invalid value %d of property %s", v, prop.Name));
            value = "[";
            for (size_t i = 0; i < prop.Names.size(); ++i)
                if (uint64_t(v) & (uint64_t(1) << i))
                    value += (value.size() > 1 ? ", " : "") + prop.Names[i];
            value += "]";
        } else if (prop.Kind == tkChar) {
            value = QuoteFormString(std::string(1, char(v)));
        } else if (prop.Kind == tkColor) {
            if (!ColorIntToIdent(v, value))
                value = std::to_string(int32_t(uint32_t(v)));
        } else {
            value = std::to_string(v);
        }
        break;
    }
    case tkFloat: {
        double v = prop.GetFloat(obj);
        if (v == prop.FloatDefault.value_or(0.0))
            return;
        value = FormatFormFloat(v);
        break;
    }
    case tkString: {
        std::string v = prop.GetStr(obj);
        if (v == prop.StrDefault.value_or(std::string()))
            return;
        value = QuoteFormString(v);
        break;
    }
    case tkClass: {
        TPersistent* sub = prop.GetObject(obj);
        if (!sub)
            return;
        if (!prop.IsReference) {
            WriteProperties(sub, prefix + prop.Name + ".", depth);
            return;
        }
        auto* c = dynamic_cast<TComponent*>(sub);
        if (!c || c->Name().empty())
            return;
        if (c == FRoot || c->Owner() == FRoot || !c->Owner())
            value = c->Name();
        else
            value = c->Owner()->Name() + "." + c->Name();
        break;
    }
    case tkMethod:
        value = prop.GetMethodName(obj);
        if (value.empty())
            return;
        break;
    }
    Line(depth, prefix + prop.Name + " = " + value);
}

void TWriter::SetPending(std::string text)
{
    if (FInList) {
        FList += '\n';
        FList.append(size_t(FDepth + 1) * 2, ' ');
        FList += text;
        return;
    }
    FPending = std::move(text);
    FHasPending = true;
}

void TWriter::WriteListBegin()
{
    if (FInList)
        throw EWriteError("Lists inside lists are not written");
    FInList = true;
    FList = "(";
}

void TWriter::WriteListEnd()
{
    if (!FInList)
        throw EWriteError("No list to end");
    FInList = false;
    SetPending(FList + ")");
    FList.clear();
}

void TWriter::WriteInteger(int64_t value) { SetPending(std::to_string(value)); }
void TWriter::WriteBoolean(bool value) { SetPending(value ? "True" : "False"); }
void TWriter::WriteFloat(double value) { SetPending(FormatFormFloat(value)); }
void TWriter::WriteString(const std::string& value) { SetPending(QuoteFormString(value)); }
void TWriter::WriteChar(char value) { SetPending(QuoteFormString(std::string(1, value))); }

void TWriter::WriteIdent(const std::string& ident)
{
    if (!IsValidIdent(ident))
        throw EWriteError(Format("'%s' is not an identifier", ident));
    SetPending(ident);
}

void TWriter::DefineProperty(const std::string& name, TReaderProc, TWriterProc writeData,
    bool hasData)
{
    if (!hasData || !writeData)
        return;
    FHasPending = false;
    FInList = false;
    try {
        writeData(*this);
    } catch (...) {
        FInList = false;
        throw;
    }
    if (FInList)
        throw EWriteError(Format("The list of %s is not ended", name));
    if (FHasPending)
        Line(FDepth, FPrefix + name + " = " + FPending);
    FHasPending = false;
}

void TWriter::DefineBinaryProperty(const std::string& name, TStreamProc, TStreamProc writeData,
    bool hasData)
{
    if (!hasData || !writeData)
        return;
    TMemoryStream data;
    writeData(data);
    const auto* bytes = static_cast<const uint8_t*>(data.Memory());
    int64_t size = data.Size();
    static const char hex[] = "0123456789ABCDEF";
    std::string text = FPrefix + name + " = {";
    if (size == 0) {
        Line(FDepth, text + "}");
        return;
    }
    Line(FDepth, text);
    for (int64_t at = 0; at < size; at += 32) {
        std::string row;
        for (int64_t i = at; i < size && i < at + 32; ++i) {
            row += hex[bytes[i] >> 4];
            row += hex[bytes[i] & 15];
        }
        if (at + 32 >= size)
            row += '}';
        Line(FDepth + 1, row);
    }
}

std::string WriteComponentRes(TComponent* root)
{
    TWriter writer;
    writer.WriteRootComponent(root);
    return writer.Text();
}
