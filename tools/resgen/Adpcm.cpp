#include "tools/resgen/Adpcm.h"

#include <algorithm>
#include <limits>

namespace resgen::adpcm {

namespace {

struct State {
    int s1 = 0, s2 = 0, delta = MinDelta;
    CoefPair coef { 256, 0 };

    int Predict() const { return (s1 * coef.c1 + s2 * coef.c2) / 256; }
    int Apply(int code)
    {
        int signedCode = code >= 8 ? code - 16 : code;
        int s = std::clamp(Predict() + signedCode * delta, -32768, 32767);
        delta = std::max(MinDelta, delta * Adapt[size_t(code)] / 256);
        s2 = s1;
        s1 = s;
        return s;
    }
};

// The codes of one channel for a given predictor and starting step; returns the squared
// error of the reconstruction.
double EncodeChannel(const std::vector<int>& x, int predictor, int delta, std::vector<uint8_t>* codes)
{
    State st;
    st.coef = Coefs[size_t(predictor)];
    st.delta = delta;
    st.s2 = x[0];
    st.s1 = x[1];
    double err = 0;
    for (size_t i = 2; i < x.size(); ++i) {
        int pred = st.Predict();
        // The nearest code, then a check of its neighbours against the clamped result.
        double ideal = double(x[i] - pred) / st.delta;
        int best = std::clamp(int(ideal < 0 ? ideal - 0.5 : ideal + 0.5), -8, 7);
        int bestErr = std::numeric_limits<int>::max();
        for (int n = std::max(-8, best - 1); n <= std::min(7, best + 1); ++n) {
            int s = std::clamp(pred + n * st.delta, -32768, 32767);
            int e = std::abs(s - x[i]);
            if (e < bestErr || (e == bestErr && std::abs(n) < std::abs(best))) {
                bestErr = e;
                best = n;
            }
        }
        int code = best & 15;
        int s = st.Apply(code);
        err += double(s - x[i]) * double(s - x[i]);
        if (codes)
            codes->push_back(uint8_t(code));
    }
    return err;
}

void Put16(std::vector<uint8_t>& out, int v)
{
    out.push_back(uint8_t(v & 0xFF));
    out.push_back(uint8_t((v >> 8) & 0xFF));
}
void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, int(v & 0xFFFF));
    Put16(out, int(v >> 16));
}
void PutId(std::vector<uint8_t>& out, const char* id)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(id[i]));
}

int Get16(const uint8_t* p) { return int16_t(uint16_t(p[0] | p[1] << 8)); }

} // namespace

int BlockBytes(int channels, int frames)
{
    return 7 * channels + ((frames - 2) * channels + 1) / 2;
}

std::vector<uint8_t> EncodeBlock(std::span<const int16_t> samples, int channels, int frames)
{
    if (channels < 1 || frames < 2)
        return {};
    struct Choice {
        int predictor = 0, delta = MinDelta;
        std::vector<uint8_t> codes;
    };
    std::vector<Choice> choice(static_cast<size_t>(channels));
    for (int ch = 0; ch < channels; ++ch) {
        std::vector<int> x(size_t(frames), 0);
        for (int i = 0; i < frames; ++i) {
            size_t at = size_t(i) * size_t(channels) + size_t(ch);
            if (at < samples.size())
                x[size_t(i)] = samples[at];
        }
        double best = std::numeric_limits<double>::infinity();
        for (int p = 0; p < int(Coefs.size()); ++p)
            for (int delta = MinDelta; delta <= 8192; delta *= 2) {
                double err = EncodeChannel(x, p, delta, nullptr);
                if (err < best) {
                    best = err;
                    choice[size_t(ch)].predictor = p;
                    choice[size_t(ch)].delta = delta;
                }
            }
        EncodeChannel(x, choice[size_t(ch)].predictor, choice[size_t(ch)].delta, &choice[size_t(ch)].codes);
    }

    std::vector<uint8_t> out;
    for (const Choice& c : choice)
        out.push_back(uint8_t(c.predictor));
    for (const Choice& c : choice)
        Put16(out, c.delta);
    // The second sample first, then the first: the order the decoder's history takes.
    for (int ch = 0; ch < channels; ++ch)
        Put16(out, size_t(channels + ch) < samples.size() ? samples[size_t(channels + ch)] : 0);
    for (int ch = 0; ch < channels; ++ch)
        Put16(out, size_t(ch) < samples.size() ? samples[size_t(ch)] : 0);
    // Codes interleaved by channel, two to a byte, the high nibble first.
    std::vector<uint8_t> stream;
    for (int i = 0; i < frames - 2; ++i)
        for (const Choice& c : choice)
            stream.push_back(c.codes[size_t(i)]);
    for (size_t i = 0; i < stream.size(); i += 2)
        out.push_back(uint8_t(stream[i] << 4 | (i + 1 < stream.size() ? stream[i + 1] : 0)));
    return out;
}

std::vector<int16_t> DecodeBlock(std::span<const uint8_t> block, int channels, int frames)
{
    if (channels < 1 || frames < 2 || block.size() < size_t(BlockBytes(channels, frames)))
        return {};
    std::vector<State> st(static_cast<size_t>(channels));
    const uint8_t* p = block.data();
    for (int ch = 0; ch < channels; ++ch) {
        if (p[ch] >= Coefs.size())
            return {};
        st[size_t(ch)].coef = Coefs[p[ch]];
        st[size_t(ch)].delta = uint16_t(p[channels + 2 * ch] | p[channels + 2 * ch + 1] << 8);
        st[size_t(ch)].s1 = Get16(p + 3 * channels + 2 * ch);
        st[size_t(ch)].s2 = Get16(p + 5 * channels + 2 * ch);
    }
    std::vector<int16_t> out;
    out.reserve(size_t(frames) * size_t(channels));
    for (const State& s : st)
        out.push_back(int16_t(s.s2));
    for (const State& s : st)
        out.push_back(int16_t(s.s1));
    const uint8_t* codes = p + 7 * channels;
    for (int i = 0; i < (frames - 2) * channels; ++i) {
        int code = (i & 1) ? codes[i / 2] & 15 : codes[i / 2] >> 4;
        out.push_back(int16_t(st[size_t(i % channels)].Apply(code)));
    }
    return out;
}

std::vector<uint8_t> WaveImage(std::span<const uint8_t> block, int channels, int rate, int framesPerBlock,
    int factFrames, std::span<const uint8_t> trailing)
{
    const auto align = int(block.size());
    std::vector<uint8_t> w;
    PutId(w, "RIFF");
    Put32(w, 0);   // the form's length, filled in below
    PutId(w, "WAVE");
    PutId(w, "fmt ");
    Put32(w, 50);
    Put16(w, 2);   // Microsoft ADPCM
    Put16(w, channels);
    Put32(w, uint32_t(rate));
    Put32(w, uint32_t(int64_t(rate) * align / std::max(framesPerBlock, 1)));
    Put16(w, align);
    Put16(w, 4);
    Put16(w, 32);
    Put16(w, framesPerBlock);
    Put16(w, int(Coefs.size()));
    for (const CoefPair& c : Coefs) {
        Put16(w, c.c1);
        Put16(w, c.c2);
    }
    PutId(w, "fact");
    Put32(w, 4);
    Put32(w, uint32_t(factFrames));
    PutId(w, "data");
    Put32(w, uint32_t(block.size()));
    w.insert(w.end(), block.begin(), block.end());
    if (block.size() & 1)
        w.push_back(0);
    w.insert(w.end(), trailing.begin(), trailing.end());
    const auto form = uint32_t(w.size() - 8);
    for (int i = 0; i < 4; ++i)
        w[size_t(4 + i)] = uint8_t(form >> (8 * i));
    return w;
}

} // namespace resgen::adpcm
