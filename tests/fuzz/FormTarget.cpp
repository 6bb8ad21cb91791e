// The form reader: the input is a text form description, read into a fresh form with
// every control of both libraries registered, as a form reads its own description. A
// read either succeeds or raises EReadError; after a failed read the form holds none of
// the components that the read made and nothing stays marked as loading. A description
// that was read writes out, reads into another form and writes out the same again.

#include "FuzzTargets.h"

#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "framework/core/Reader.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Writer.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/system/Clock.h"

#include <memory>
#include <string>

namespace fuzz {

namespace {

void SetUpOnce()
{
    static plat::HeadlessWindowSystem* ws = [] {
        auto* w = new plat::HeadlessWindowSystem;
        plat::InstallWindowSystem(w);
        plat::UseManualClock(true, 1000);
        return w;
    }();
    (void)ws;
}

// Reads text into a new form; null when the reader refused it with its own error.
std::unique_ptr<TForm> ReadForm(const std::string& text)
{
    auto form = std::make_unique<TForm>(nullptr);
    try {
        ReadComponentRes(text, form.get());
    } catch (const EReadError&) {
        FUZZ_CHECK(form->ComponentCount() == 0);
        FUZZ_CHECK(form->ControlCount() == 0);
        FUZZ_CHECK(!form->HasState(csLoading) && !form->HasState(csReading));
        return nullptr;
    }
    FUZZ_CHECK(!form->HasState(csLoading) && !form->HasState(csReading));
    for (int i = 0; i < form->ComponentCount(); ++i)
        FUZZ_CHECK(!form->Components(i)->HasState(csLoading));
    return form;
}

} // namespace

int Form(const uint8_t* data, size_t size)
{
    SetUpOnce();
    // Descriptions are text of a few kilobytes plus their binary data; far larger inputs
    // only slow the search down.
    if (size > 200000)
        return -1;
    std::string text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<TForm> form = ReadForm(text);
    if (!form)
        return 0;
    std::string written = WriteComponentRes(form.get());
    form.reset();
    std::unique_ptr<TForm> copy = ReadForm(written);
    FUZZ_CHECK(copy != nullptr);
    FUZZ_CHECK(WriteComponentRes(copy.get()) == written);
    return 0;
}

} // namespace fuzz
