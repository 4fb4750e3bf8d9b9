// Makes the two feedback sounds of the program as 16-bit mono WAV files:
// si.wav, a bright rising three-note chime for a right answer, and
// no.wav, a soft falling two-note hum for a wrong one.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

struct Note { double freq, start, length, gain; };

std::vector<double> render(const std::vector<Note> &notes, double total, bool bell)
{
    std::vector<double> out(size_t(total * kRate), 0.0);
    for (const Note &n : notes) {
        const size_t first = size_t(n.start * kRate);
        const size_t count = size_t(n.length * kRate);
        for (size_t i = 0; i < count && first + i < out.size(); ++i) {
            const double t = double(i) / kRate;
            const double attack = std::min(1.0, t / 0.008);
            const double release = std::min(1.0, (n.length - t) / 0.03);
            double env = attack * std::max(0.0, release);
            double v;
            if (bell) {
                env *= std::exp(-t * 6.0);
                v = std::sin(2 * kPi * n.freq * t) + 0.35 * std::sin(2 * kPi * n.freq * 2 * t) * std::exp(-t * 10)
                    + 0.12 * std::sin(2 * kPi * n.freq * 3 * t) * std::exp(-t * 16);
            } else {
                env *= 0.6 + 0.4 * std::exp(-t * 3.0);
                v = std::sin(2 * kPi * n.freq * t) + 0.18 * std::sin(2 * kPi * n.freq * 2 * t);
            }
            out[first + i] += n.gain * env * v;
        }
    }
    return out;
}

bool writeWav(const std::string &path, const std::vector<double> &samples)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    auto u32 = [&](uint32_t v) { std::fwrite(&v, 4, 1, f); };
    auto u16 = [&](uint16_t v) { std::fwrite(&v, 2, 1, f); };
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::fwrite("RIFF", 1, 4, f); u32(36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f); u32(16); u16(1); u16(1); u32(kRate); u32(kRate * 2); u16(2); u16(16);
    std::fwrite("data", 1, 4, f); u32(dataBytes);
    for (double s : samples) {
        const double c = std::max(-1.0, std::min(1.0, s));
        u16(uint16_t(int16_t(std::lround(c * 32000))));
    }
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) { std::fprintf(stderr, "usage: genera_suoni FOLDER\n"); return 2; }
    const std::string dir = argv[1];
    // C6, E6, G6: a small major arpeggio.
    const auto si = render({{1046.5, 0.00, 0.30, 0.30}, {1318.5, 0.09, 0.30, 0.28}, {1568.0, 0.18, 0.40, 0.30}}, 0.62, true);
    // G4 then E4, soft and short: a gentle "uh-oh", never harsh.
    const auto no = render({{392.0, 0.00, 0.20, 0.30}, {329.6, 0.20, 0.30, 0.30}}, 0.52, false);
    if (!writeWav(dir + "/si.wav", si) || !writeWav(dir + "/no.wav", no)) {
        std::fprintf(stderr, "genera_suoni: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
