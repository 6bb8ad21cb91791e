#include "framework/core/Reader.h"

#include "framework/core/FormText_p.h"
#include "framework/core/Stream.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"

#include <algorithm>

struct TReader::Fixup {
    TPersistent* instance;
    const TPropInfo* prop;
    std::string name;
    int line;
};

namespace {

// Errors raised while a property or object is read carry its line; the marker keeps an
// outer level from adding a second one.
bool HasLine(const Exception& e)
{
    return e.Message().rfind("Line ", 0) == 0;
}

[[noreturn]] void Rethrow(const Exception& e, int line)
{
    if (HasLine(e))
        throw EReadError(e.Message());
    throw EReadError(Format("Line %d: %s", line, e.Message()));
}

[[noreturn]] void InvalidValue()
{
    throw EReadError("Invalid property value");
}

} // namespace

TReader::TReader(const std::string& text)
    : FTree(std::make_unique<TFormObject>(ParseFormText(text)))
{
}

TReader::~TReader() = default;

const std::string& TReader::RootClassName() const { return FTree->className; }
const std::string& TReader::RootName() const { return FTree->name; }

void TReader::ReadRootComponent(TComponent* root)
{
    FRoot = root;
    FLoaded.clear();
    FCreated.clear();
    FFixups.clear();
    FLoaded.push_back(root);
    root->SetLoadingState(true);
    root->SetReadingState(true);
    try {
        try {
            if (root->Name().empty() && !FTree->name.empty())
                root->SetName(FTree->name);
        } catch (const Exception& e) {
            Rethrow(e, FTree->line);
        }
        FCurrent = FTree.get();
        FParent = nullptr;
        root->ReadState(*this);
        ResolveFixups();
    } catch (...) {
        for (TComponent* c : FLoaded) {
            c->SetReadingState(false);
            c->SetLoadingState(false);
        }
        // What the read made goes again, last first. Parent links to and from those
        // components are cut before any is freed, so that no control frees another (or
        // one of the root's own that the description moved into it) along with itself.
        auto created = [this](TComponent* c) {
            return std::find(FCreated.begin(), FCreated.end(), c) != FCreated.end();
        };
        for (TComponent* c : FLoaded) {
            TComponent* parent = c->GetParentComponent();
            if (parent && (created(c) || created(parent)))
                c->SetParentComponent(nullptr);
        }
        for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it)
            delete *it;
        FCreated.clear();
        FLoaded.clear();
        throw;
    }
    for (TComponent* c : FLoaded)
        c->SetReadingState(false);
    // Loaded runs once every property of the whole description is in place.
    std::vector<TComponent*> loaded = FLoaded;
    for (TComponent* c : loaded) {
        c->Loaded();
        c->SetLoadingState(false);
    }
}

TComponent* TReader::CreateRootComponent(TComponent* owner)
{
    const TClassInfo* ci = FindClassInfo(FTree->className);
    if (!ci || !ci->Factory)
        throw EReadError(Format("Line %d: Class %s not found", FTree->line, FTree->className));
    TComponent* root = ci->Factory(owner);
    try {
        ReadRootComponent(root);
    } catch (...) {
        delete root;
        throw;
    }
    return root;
}

void TReader::ReadData(TComponent* instance)
{
    const TFormObject& node = *FCurrent;
    for (const TFormProperty& p : node.properties) {
        try {
            ReadProperty(instance, p.name, p.value);
        } catch (const Exception& e) {
            Rethrow(e, p.line);
        }
    }
    for (const TFormObject& child : node.children)
        ReadObject(instance, child);
}

void TReader::ReadObject(TComponent* parent, const TFormObject& node)
{
    TComponent* c = nullptr;
    try {
        if (!SameText(node.keyword, "object")) {
            // An inherited object is one that the root already made.
            c = FRoot->FindComponent(node.name);
            if (!c)
                throw EReadError(Format("Ancestor for '%s' not found", node.name));
        } else {
            const TClassInfo* ci = FindClassInfo(node.className);
            if (!ci || !ci->Factory)
                throw EReadError(Format("Class %s not found", node.className));
            c = ci->Factory(FRoot);
            FCreated.push_back(c);
            c->SetLoadingState(true);
            c->SetReadingState(true);
            FLoaded.push_back(c);
            if (!node.name.empty())
                c->SetName(node.name);
        }
        if (std::find(FLoaded.begin(), FLoaded.end(), c) == FLoaded.end()) {
            c->SetLoadingState(true);
            c->SetReadingState(true);
            FLoaded.push_back(c);
        }
        c->SetParentComponent(parent);
    } catch (const Exception& e) {
        Rethrow(e, node.line);
    }
    const TFormObject* saveCurrent = FCurrent;
    TComponent* saveParent = FParent;
    FCurrent = &node;
    FParent = parent;
    try {
        c->ReadState(*this);
    } catch (const Exception& e) {
        FCurrent = saveCurrent;
        FParent = saveParent;
        Rethrow(e, node.line);
    }
    FCurrent = saveCurrent;
    FParent = saveParent;
}

void TReader::ReadProperty(TPersistent* instance, const std::string& name, const TFormValue& value)
{
    TPersistent* obj = instance;
    size_t start = 0;
    for (;;) {
        size_t dot = name.find('.', start);
        std::string part = name.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        const TPropInfo* pi = FindPropInfo(obj, part);
        if (dot == std::string::npos) {
            if (pi) {
                SetValue(obj, *pi, value);
                return;
            }
            // Not published: perhaps a value the object defines itself.
            FPropName = part;
            FPropValue = &value;
            FPropHandled = false;
            obj->DefineProperties(this);
            FPropValue = nullptr;
            if (!FPropHandled)
                break;
            return;
        }
        if (!pi || pi->Kind != tkClass || pi->IsReference)
            break;
        obj = pi->GetObject(obj);
        if (!obj)
            break;
        start = dot + 1;
    }
    throw EReadError(Format("Property %s does not exist", name));
}

void TReader::SetValue(TPersistent* obj, const TPropInfo& prop, const TFormValue& v)
{
    auto setOrd = [&](int64_t x) {
        if (x < prop.MinValue || x > prop.MaxValue)
            throw EReadError(Format("Value %d out of range for property %s", x, prop.Name));
        prop.SetOrd(obj, x);
    };
    auto indexOf = [&](const std::string& ident) -> int64_t {
        for (size_t i = 0; i < prop.Names.size(); ++i)
            if (SameText(prop.Names[i], ident))
                return int64_t(i);
        InvalidValue();
    };
    switch (prop.Kind) {
    case tkInteger:
    case tkInt64:
        if (v.kind != TFormValue::vaInt)
            InvalidValue();
        setOrd(v.intValue);
        return;
    case tkBool:
        if (v.kind != TFormValue::vaIdent || !(SameText(v.text, "True") || SameText(v.text, "False")))
            InvalidValue();
        setOrd(SameText(v.text, "True") ? 1 : 0);
        return;
    case tkEnumeration:
        if (v.kind != TFormValue::vaIdent)
            InvalidValue();
        setOrd(indexOf(v.text));
        return;
    case tkSet: {
        if (v.kind != TFormValue::vaSet)
            InvalidValue();
        int64_t bits = 0;
        for (const std::string& item : v.items)
            bits |= int64_t(1) << indexOf(item);
        setOrd(bits);
        return;
    }
    case tkChar:
        if (v.kind == TFormValue::vaString && v.text.size() == 1)
            setOrd(static_cast<unsigned char>(v.text[0]));
        else if (v.kind == TFormValue::vaInt)
            setOrd(v.intValue);
        else
            InvalidValue();
        return;
    case tkColor: {
        int64_t x = 0;
        if (v.kind == TFormValue::vaInt)
            x = v.intValue;
        else if (v.kind != TFormValue::vaIdent || !ColorIdentToInt(v.text, x))
            InvalidValue();
        setOrd(x);
        return;
    }
    case tkFloat:
        if (v.kind == TFormValue::vaFloat)
            prop.SetFloat(obj, v.floatValue);
        else if (v.kind == TFormValue::vaInt)
            prop.SetFloat(obj, double(v.intValue));
        else
            InvalidValue();
        return;
    case tkString:
        if (v.kind != TFormValue::vaString)
            InvalidValue();
        prop.SetStr(obj, v.text);
        return;
    case tkClass:
        if (!prop.IsReference || v.kind != TFormValue::vaIdent)
            InvalidValue();
        if (SameText(v.text, "nil"))
            prop.SetRef(obj, nullptr);
        else
            FFixups.push_back({ obj, &prop, v.text, v.line });
        return;
    case tkMethod:
        if (v.kind != TFormValue::vaIdent)
            InvalidValue();
        if (!prop.BindMethod(obj, FRoot, v.text))
            throw EReadError(Format("Method %s does not exist", v.text));
        return;
    }
}

void TReader::ResolveFixups()
{
    for (const Fixup& f : FFixups) {
        TComponent* target = SameText(f.name, FRoot->Name()) ? FRoot : FRoot->FindComponent(f.name);
        if (!target)
            throw EReadError(Format("Line %d: Component %s does not exist", f.line, f.name));
        try {
            if (!f.prop->SetRef(f.instance, target))
                throw EReadError(Format("%s cannot be assigned to property %s", f.name, f.prop->Name));
        } catch (const Exception& e) {
            Rethrow(e, f.line);
        }
    }
    FFixups.clear();
}

const TFormValue& TReader::Pending()
{
    if (!FPropValue)
        throw EReadError("No property value to read");
    if (FList) {
        if (FListIndex >= FList->list.size())
            throw EReadError("Read past the end of a list");
        return FList->list[FListIndex++];
    }
    return *FPropValue;
}

void TReader::ReadListBegin()
{
    if (FList)
        InvalidValue();
    const TFormValue& v = Pending();
    if (v.kind != TFormValue::vaList)
        InvalidValue();
    FList = &v;
    FListIndex = 0;
}

bool TReader::EndOfList() const
{
    return !FList || FListIndex >= FList->list.size();
}

void TReader::ReadListEnd()
{
    if (!FList || FListIndex < FList->list.size())
        throw EReadError("List values left unread");
    FList = nullptr;
}

int64_t TReader::ReadInt64()
{
    const TFormValue& v = Pending();
    if (v.kind != TFormValue::vaInt)
        InvalidValue();
    return v.intValue;
}

int32_t TReader::ReadInteger()
{
    int64_t x = ReadInt64();
    if (x < INT32_MIN || x > INT32_MAX)
        InvalidValue();
    return int32_t(x);
}

bool TReader::ReadBoolean()
{
    std::string id = ReadIdent();
    if (SameText(id, "True"))
        return true;
    if (SameText(id, "False"))
        return false;
    InvalidValue();
}

double TReader::ReadFloat()
{
    const TFormValue& v = Pending();
    if (v.kind == TFormValue::vaFloat)
        return v.floatValue;
    if (v.kind == TFormValue::vaInt)
        return double(v.intValue);
    InvalidValue();
}

std::string TReader::ReadString()
{
    const TFormValue& v = Pending();
    if (v.kind != TFormValue::vaString)
        InvalidValue();
    return v.text;
}

std::string TReader::ReadIdent()
{
    const TFormValue& v = Pending();
    if (v.kind != TFormValue::vaIdent)
        InvalidValue();
    return v.text;
}

char TReader::ReadChar()
{
    std::string s = ReadString();
    if (s.size() != 1)
        InvalidValue();
    return s[0];
}

void TReader::DefineProperty(const std::string& name, TReaderProc readData, TWriterProc,
    bool)
{
    if (FPropHandled || !FPropValue || !SameText(name, FPropName))
        return;
    FPropHandled = true;
    if (FPropValue->kind == TFormValue::vaBinary)
        InvalidValue();
    FList = nullptr;
    if (!readData)
        return;
    try {
        readData(*this);
    } catch (...) {
        FList = nullptr;
        throw;
    }
    FList = nullptr;
}

void TReader::DefineBinaryProperty(const std::string& name, TStreamProc readData, TStreamProc,
    bool)
{
    if (FPropHandled || !FPropValue || !SameText(name, FPropName))
        return;
    FPropHandled = true;
    if (FPropValue->kind != TFormValue::vaBinary)
        InvalidValue();
    if (!readData)
        return;
    TMemoryStream data;
    data.WriteBuffer(FPropValue->text.data(), int64_t(FPropValue->text.size()));
    data.SetPosition(0);
    readData(data);
}

void ReadComponentRes(const std::string& text, TComponent* root)
{
    TReader reader(text);
    reader.ReadRootComponent(root);
}

TComponent* CreateComponentRes(const std::string& text, TComponent* owner)
{
    TReader reader(text);
    return reader.CreateRootComponent(owner);
}
