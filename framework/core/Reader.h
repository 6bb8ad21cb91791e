#pragma once
// TReader: reads a text form description into components.
//
//   object frmMain: TfrmMain          nested objects, each closed by "end"
//     Caption = 'It''s'#13#10'ok'       strings: quoted parts and #nnn bytes
//     Font.Style = [fsBold]            dotted names reach sub-objects; sets in []
//     OnClick = btnRunClick            identifiers: enum values, True/False, colour
//     Wave.Data = {                      names, handlers, component references
//       52494646A8040000...}           binary values as hex
//
// Properties are set in file order; components are created by class name with the root
// as owner, parented to the enclosing object, named (which fills the root's published
// field), and marked csLoading | csReading. Component references are resolved once the
// whole description is read; then csReading is cleared and Loaded is called on every
// component, root first, in creation order. Any fault raises EReadError whose message
// begins with the 1-based line ("Line 12: Property Foo does not exist") and frees every
// component that the read had made, so no half-read component stays with the root.
// GUI thread only.

#include "framework/core/Filer.h"

#include <memory>
#include <string>
#include <vector>

struct TFormObject;
struct TFormValue;
struct TPropInfo;

class TReader : public TFiler {
public:
    explicit TReader(const std::string& text);   // parses; EReadError on a syntax fault
    ~TReader() override;

    // Reads the description into root, which already exists (a form built in code).
    void ReadRootComponent(TComponent* root);
    // Creates the root by the class the description names, owned by owner, and reads it.
    TComponent* CreateRootComponent(TComponent* owner);

    // The class and name that the outermost object declares.
    const std::string& RootClassName() const;
    const std::string& RootName() const;

    // Reads the properties and nested objects of the object being read into instance;
    // TComponent::ReadState calls it.
    void ReadData(TComponent* instance);
    // The component whose object encloses the one being read (the new one's parent).
    TComponent* Parent() const { return FParent; }
    TComponent* Owner() const { return FRoot; }

    // The value of the defined property being read (for DefineProperty read procs).
    int32_t ReadInteger();
    int64_t ReadInt64();
    bool ReadBoolean();
    double ReadFloat();
    std::string ReadString();
    std::string ReadIdent();
    char ReadChar();
    // A list value: ReadListBegin, then values (ReadString...) until EndOfList, then
    // ReadListEnd. EReadError when the value is no list or is read past its end.
    void ReadListBegin();
    bool EndOfList() const;
    void ReadListEnd();

    void DefineProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
        bool hasData) override;
    void DefineBinaryProperty(const std::string& name, TStreamProc readData,
        TStreamProc writeData, bool hasData) override;

private:
    struct Fixup;
    void ReadObject(TComponent* parent, const TFormObject& node);
    void ReadProperty(TPersistent* instance, const std::string& name, const TFormValue& value);
    void SetValue(TPersistent* obj, const TPropInfo& prop, const TFormValue& value);
    void ResolveFixups();
    const TFormValue& Pending();

    std::unique_ptr<TFormObject> FTree;
    const TFormObject* FCurrent = nullptr;
    TComponent* FParent = nullptr;
    std::vector<TComponent*> FLoaded;
    std::vector<TComponent*> FCreated;   // made by this read, in creation order
    std::vector<Fixup> FFixups;
    std::string FPropName;
    const TFormValue* FPropValue = nullptr;
    bool FPropHandled = false;
    const TFormValue* FList = nullptr;   // the list being read, and the next item
    size_t FListIndex = 0;
};

// Reads text into an existing root (a form reading its own description).
void ReadComponentRes(const std::string& text, TComponent* root);
// Creates and reads the root that text describes; the caller owns it unless owner is set.
TComponent* CreateComponentRes(const std::string& text, TComponent* owner);
