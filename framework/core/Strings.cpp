#include "framework/core/Strings.h"

#include "framework/core/Filer.h"
#include "framework/core/Reader.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"
#include "framework/core/Writer.h"

int TStrings::AddObject(const std::string& S, TObject* AObject)
{
    int at = Count();
    InsertObject(at, S, AObject);
    return at;
}

void TStrings::AddStrings(const TStrings* Strings)
{
    BeginUpdate();
    try {
        for (int i = 0; i < Strings->Count(); ++i)
            AddObject(Strings->Get(i), Strings->GetObject(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Exchange(int Index1, int Index2)
{
    BeginUpdate();
    try {
        std::string s1 = Get(Index1);
        TObject* o1 = GetObject(Index1);
        Put(Index1, Get(Index2));
        PutObject(Index1, GetObject(Index2));
        Put(Index2, s1);
        PutObject(Index2, o1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    BeginUpdate();
    try {
        std::string s = Get(CurIndex);
        TObject* o = GetObject(CurIndex);
        if (NewIndex < 0 || NewIndex >= Count())
            throw EListError(Format("List index out of bounds (%d)", NewIndex));
        Delete(CurIndex);
        InsertObject(NewIndex, s, o);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::IndexOf(const std::string& S) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(Get(i), S))
            return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == AObject)
            return i;
    return -1;
}

std::string TStrings::Text() const
{
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        out += Get(i);
        out += '\n';
    }
    return out;
}

void TStrings::SetText(const std::string& Value)
{
    BeginUpdate();
    try {
        Clear();
        size_t start = 0;
        while (start < Value.size()) {
            size_t end = Value.find_first_of("\r\n", start);
            if (end == std::string::npos) {
                Add(Value.substr(start));
                break;
            }
            Add(Value.substr(start, end - start));
            start = end + 1;
            if (Value[end] == '\r' && start < Value.size() && Value[start] == '\n')
                ++start;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TStrings*>(Source)) {
        if (s == this)
            return;
        BeginUpdate();
        try {
            Clear();
            AddStrings(s);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::DefineProperties(TFiler* Filer)
{
    Filer->DefineProperty(
        "Strings",
        [this](TReader& r) {
            BeginUpdate();
            try {
                Clear();
                r.ReadListBegin();
                while (!r.EndOfList())
                    Add(r.ReadString());
                r.ReadListEnd();
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
        },
        [this](TWriter& w) {
            w.WriteListBegin();
            for (int i = 0; i < Count(); ++i)
                w.WriteString(Get(i));
            w.WriteListEnd();
        },
        Count() > 0);
}

TStringList::~TStringList()
{
    // No change events from a list being taken down.
    OnChanging = nullptr;
    OnChange = nullptr;
}

void TStringList::Check(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(Format("List index out of bounds (%d)", Index));
}

std::string TStringList::Get(int Index) const
{
    Check(Index);
    return FItems[size_t(Index)].S;
}

TObject* TStringList::GetObject(int Index) const
{
    Check(Index);
    return FItems[size_t(Index)].Obj;
}

void TStringList::Put(int Index, const std::string& S)
{
    Check(Index);
    Changing();
    FItems[size_t(Index)].S = S;
    Changed();
}

void TStringList::PutObject(int Index, TObject* AObject)
{
    Check(Index);
    Changing();
    FItems[size_t(Index)].Obj = AObject;
    Changed();
}

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject)
{
    if (Index < 0 || Index > Count())
        throw EListError(Format("List index out of bounds (%d)", Index));
    Changing();
    FItems.insert(FItems.begin() + Index, Item { S, AObject });
    Changed();
}

void TStringList::Delete(int Index)
{
    Check(Index);
    Changing();
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TStringList::Clear()
{
    if (FItems.empty())
        return;
    Changing();
    FItems.clear();
    Changed();
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating) {
        FChangedWhileUpdating = false;
        return;
    }
    if (FChangedWhileUpdating) {
        FChangedWhileUpdating = false;
        if (OnChange)
            OnChange(this);
    }
}

void TStringList::Changing()
{
    if (UpdateCount() == 0) {
        if (OnChanging)
            OnChanging(this);
    } else if (!FChangedWhileUpdating) {
        // The first change of an update is announced once.
        if (OnChanging)
            OnChanging(this);
    }
}

void TStringList::Changed()
{
    if (UpdateCount() > 0) {
        FChangedWhileUpdating = true;
        return;
    }
    if (OnChange)
        OnChange(this);
}

BEGIN_PROPERTIES(TStrings, TPersistent)
END_PROPERTIES

BEGIN_PROPERTIES(TStringList, TStrings)
END_PROPERTIES
