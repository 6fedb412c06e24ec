// Data output parser: ns per line and throughput for representative lines,
// beside two reference points on the same lines: a plain sscanf reader and
// a memcpy of the line (the copy the data display makes before parsing).

#include "data/orvelparser.h"

#include "bench/benchmarkmain.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Values as the controller prints them: mm with three decimals, rotation
// entries with six.
struct LineWriter
{
    std::string text;
    int step = 0;

    LineWriter &raw(const std::string &s)
    {
        text += s;
        return *this;
    }
    LineWriter &block(int n, const char *format, double scale)
    {
        for (int k = 0; k < n; ++k) {
            char number[64];
            std::snprintf(number, sizeof number, format, std::sin(++step * 0.7) * scale);
            text += (k ? " " : "[") + std::string(number);
        }
        return raw("]");
    }
    LineWriter &pose() { return block(3, "%.3f", 1500).block(9, "%.6f", 1); }
};

// The line head, then the groups, each written by group(writer, its index).
template <typename Group>
std::string makeLine(const std::string &head, int groups, Group group)
{
    LineWriter w;
    w.raw(head + " " + std::to_string(groups));
    for (int i = 0; i < groups; ++i)
        group(w, " [" + std::to_string(i));
    return w.text;
}

// The reader one writes first: one sscanf per block, walking the line with
// %n, each group's numbers into a scratch array (the parser checks and
// stores more, so this is the floor a straightforward reader sets).
class ScanfReader
{
public:
    bool read(const char *line)
    {
        struct Type
        {
            const char *prefix;
            int counts;
            int blocks[6];
        };
        static const Type types[] = {{"6dmt2 ", 2, {4, 3, 9, 1, 6}},
                                     {"6dmtr ", 2, {2, 3, 9}},
                                     {"6d ", 1, {2, 3, 9}},
                                     {"gl ", 1, {4, 3, 9}},
                                     {"3d ", 1, {2, 3}}};
        for (const Type &type : types) {
            const size_t length = std::strlen(type.prefix);
            if (std::strncmp(line, type.prefix, length) != 0)
                continue;
            const char *p = line + length;
            int n = 0, used = 0;
            for (int c = 0; c < type.counts; ++c, p += used) {
                if (std::sscanf(p, "%i%n", &n, &used) != 1)
                    return false;
            }
            for (int i = 0; i < n; ++i) {
                double *v = values;
                for (const int *b = type.blocks; *b; v += *b++) {
                    if (!block(p, *b, v))
                        return false;
                }
                // A hand's fingers follow it: [x y z][r0..r8][six values] each.
                for (int f = type.prefix[0] == 'g' ? int(values[3]) : 0; f > 0; --f, v += 18) {
                    if (!block(p, 3, v) || !block(p, 9, v + 3) || !block(p, 6, v + 12))
                        return false;
                }
            }
            return true;
        }
        return true;
    }

private:
    static bool block(const char *&p, int n, double *v)
    {
        int used = 0, read = 0;
        switch (n) {
        case 1: read = std::sscanf(p, " [%lf]%n", v, &used); break;
        case 2: read = std::sscanf(p, " [%lf %lf]%n", v, v + 1, &used); break;
        case 3: read = std::sscanf(p, " [%lf %lf %lf]%n", v, v + 1, v + 2, &used); break;
        case 4: read = std::sscanf(p, " [%lf %lf %lf %lf]%n", v, v + 1, v + 2, v + 3, &used); break;
        case 6:
            read = std::sscanf(p, " [%lf %lf %lf %lf %lf %lf]%n", v, v + 1, v + 2, v + 3, v + 4, v + 5, &used);
            break;
        case 9:
            read = std::sscanf(p, " [%lf %lf %lf %lf %lf %lf %lf %lf %lf]%n", v, v + 1, v + 2, v + 3, v + 4, v + 5,
                               v + 6, v + 7, v + 8, &used);
            break;
        }
        p += used;
        return read == n && used > 0;
    }

    double values[16 + 5 * 18];
};

enum class Reader { Parser, Scanf, Memcpy };

void run(benchmark::State &state, Reader kind, std::string line)
{
    OrvelParser parser;
    ScanfReader scanf;
    std::vector<char> copy(OrvelParser::MaxLineLength);
    for (auto _ : state) {
        char *cursor = &line[0];
        if (kind == Reader::Memcpy)
            std::memcpy(copy.data(), line.c_str(), line.size() + 1);
        else if (!(kind == Reader::Parser ? parser.parseDataLine(&cursor) : scanf.read(line.c_str())))
            state.SkipWithError("line refused");
        benchmark::DoNotOptimize(copy.data());
        benchmark::DoNotOptimize(cursor);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(line.size()));
}

} // namespace

int main(int argc, char **argv)
{
    const std::pair<const char *, std::string> lines[] = {
        {"6dmt2_4tools_16buttons", makeLine("6dmt2 4", 4, [](LineWriter &w, const std::string &id) {
             w.raw(id + " 1.000 16 2.500]").pose().raw("[43690][0.000 0.000 0.000 0.000 0.000 0.000]");
         })},
        {"6dmtr_4refs", makeLine("6dmtr 4", 4, [](LineWriter &w, const std::string &id) { w.raw(id + " 1.000]").pose(); })},
        {"6d_20bodies", makeLine("6d", 20, [](LineWriter &w, const std::string &id) { w.raw(id + " 1.000]").pose(); })},
        {"gl_2hands_5fingers", makeLine("gl", 2, [](LineWriter &w, const std::string &id) {
             w.raw(id + " 1.000 " + id.substr(2) + " 5]").pose();
             for (int f = 0; f < 5; ++f)
                 w.pose().block(6, "%.3f", 90);
         })},
        {"3d_100markers", makeLine("3d", 100, [](LineWriter &w, const std::string &id) {
             w.raw(id + " 1.000]").block(3, "%.3f", 1500);
         })},
    };
    for (const auto &line : lines) {
        const std::string name = line.first;
        benchmark::RegisterBenchmark(("OrvelParser/" + name).c_str(), run, Reader::Parser, line.second);
        benchmark::RegisterBenchmark(("sscanf/" + name).c_str(), run, Reader::Scanf, line.second);
        benchmark::RegisterBenchmark(("memcpy/" + name).c_str(), run, Reader::Memcpy, line.second);
    }
    return runBenchmarks(argc, argv);
}
