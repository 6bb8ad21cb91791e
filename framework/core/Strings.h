#pragma once
// TStrings: an ordered list of strings, each with an object pointer beside it (not
// owned). TStringList keeps them in memory and tells OnChanging / OnChange around every
// change; between BeginUpdate and the matching EndUpdate the changes are gathered and
// told once, at EndUpdate. In a form description a string list is written as the text
// format writes lists, under the name Strings:
//
//   Items.Strings = (
//     'First'
//     'Second')
//
// Indexes outside 0 .. Count - 1 raise EListError. GUI thread only.

#include "framework/core/Component.h"

#include <string>
#include <vector>

class TStrings : public TPersistent {
public:
    const char* ClassName() const override { return "TStrings"; }

    virtual int Count() const = 0;
    virtual std::string Get(int Index) const = 0;
    virtual TObject* GetObject(int Index) const = 0;
    virtual void Put(int Index, const std::string& S) = 0;
    virtual void PutObject(int Index, TObject* AObject) = 0;
    virtual void InsertObject(int Index, const std::string& S, TObject* AObject) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    std::string Strings(int Index) const { return Get(Index); }
    std::string operator[](int Index) const { return Get(Index); }
    TObject* Objects(int Index) const { return GetObject(Index); }
    int Add(const std::string& S) { return AddObject(S, nullptr); }
    virtual int AddObject(const std::string& S, TObject* AObject);
    void Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }
    void AddStrings(const TStrings* Strings);
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    // The first string equal to S, compared without regard to ASCII case; -1 when none.
    virtual int IndexOf(const std::string& S) const;
    int IndexOfObject(const TObject* AObject) const;

    // Every string followed by a line break ("\n"); setting it splits at "\r\n", "\n" or
    // "\r" (a final break adds no empty string).
    std::string Text() const;
    void SetText(const std::string& Value);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Copies the strings and objects of another TStrings.
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;

protected:
    // Called when the update count leaves or reaches 0.
    virtual void SetUpdateState(bool Updating) { (void)Updating; }

private:
    int FUpdateCount = 0;
};

class TStringList : public TStrings {
public:
    TStringList() = default;
    ~TStringList() override;
    const char* ClassName() const override { return "TStringList"; }

    int Count() const override { return int(FItems.size()); }
    std::string Get(int Index) const override;
    TObject* GetObject(int Index) const override;
    void Put(int Index, const std::string& S) override;
    void PutObject(int Index, TObject* AObject) override;
    void InsertObject(int Index, const std::string& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;

    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    void SetUpdateState(bool Updating) override;
    void Changing();
    void Changed();

private:
    struct Item {
        std::string S;
        TObject* Obj = nullptr;
    };
    void Check(int Index) const;

    std::vector<Item> FItems;
    bool FChangedWhileUpdating = false;
};
