// PGM (P2, P5), PPM (P3, P6) and PAM (P7). The binary forms are read in
// place; the plain (ASCII) forms are decoded whole.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/PictureFormats.h"
#include "tools/Printable.h"

namespace vardolin::tools {

namespace {

constexpr size_t kLongestPamLine = 1024;

bool Blank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Skips a comment, from '#' to the end of its line, line end included.
void SkipComment(ByteCursor& in) {
    for (int c = in.Next(); c >= 0 && c != '\n' && c != '\r'; c = in.Next()) {}
}

// The next decimal number after blanks and comments; none when something
// else comes first. Values too large for any field stay too large.
std::optional<uint64_t> Number(ByteCursor& in) {
    for (int c = in.Peek(); c == '#' || Blank(c); c = in.Peek()) {
        if (c == '#') SkipComment(in);
        else in.Next();
    }
    if (in.Peek() < '0' || in.Peek() > '9') return std::nullopt;
    uint64_t value = 0;
    for (int c = in.Peek(); c >= '0' && c <= '9'; c = in.Peek()) {
        in.Next();
        value = std::min<uint64_t>(value * 10 + uint64_t(c - '0'), uint64_t{1} << 40);
    }
    return value;
}

void CheckMaxValue(uint64_t maxValue, const std::string& format) {
    if (maxValue == 0) Fail("malformed " + format + " header: maxval 0");
    if (maxValue > 65535)
        Fail("unsupported " + format + ": maxval " + std::to_string(maxValue) + " (1..65535 are read)");
}

RowLayout SampleRows(uint64_t width, uint64_t height, int channels, uint64_t maxValue, bool grey) {
    CheckPictureSize(int64_t(width), int64_t(height));
    RowLayout rows;
    rows.width = int32_t(width);
    rows.height = int32_t(height);
    rows.grey = grey;
    rows.pixels.kind = PixelKind::Samples;
    rows.pixels.channels = channels;
    rows.pixels.bytesPerSample = maxValue > 255 ? 2 : 1;
    rows.pixels.maxValue = int(maxValue);
    return rows;
}

// The plain form: samples as decimal numbers, scaled to 8 bits as they are read.
PictureLayout DecodePlain(ByteCursor& in, const RowLayout& rows, const std::string& format) {
    const int channels = rows.pixels.channels;
    const uint64_t samples = uint64_t(rows.width) * uint64_t(rows.height) * uint64_t(channels);
    // Every sample takes a digit and a blank at least.
    if (in.Remaining() < 2 * samples - 1) Fail("truncated " + format + " pixel data");
    const uint32_t maxValue = uint32_t(rows.pixels.maxValue);
    const std::vector<uint8_t> scale = ScaleTable(8 * rows.pixels.bytesPerSample, maxValue);

    PictureLayout picture{DecodedLayout(rows.width, rows.height, channels == 1), {}};
    picture.decoded.resize(samples);
    for (uint8_t& sample : picture.decoded) {
        const std::optional<uint64_t> value = Number(in);
        if (!value) Fail((in.Peek() < 0 ? "truncated " : "malformed ") + format + " pixel data");
        if (*value > maxValue)
            Fail("malformed " + format + " pixel data: sample " + std::to_string(*value) + " above maxval " +
                 std::to_string(maxValue));
        sample = scale[*value];
    }
    return picture;
}

PictureLayout ReadPnm(ByteCursor& in, PictureBytes& bytes, char kind) {
    const bool plain = kind == '2' || kind == '3', grey = kind == '2' || kind == '5';
    const std::string format = grey ? "PGM" : "PPM";
    const std::optional<uint64_t> width = Number(in), height = Number(in), maxValue = Number(in);
    if (!width || !height || !maxValue) Fail("malformed " + format + " header");
    CheckMaxValue(*maxValue, format);
    const RowLayout rows = SampleRows(*width, *height, grey ? 1 : 3, *maxValue, grey);
    // One blank (or a comment to the end of its line) ends the header.
    if (in.Peek() == '#') SkipComment(in);
    else if (!Blank(in.Next())) Fail("malformed " + format + " header");
    if (plain) return DecodePlain(in, rows, format);
    PictureLayout picture{rows, {}};
    picture.rows.pixelOffset = in.Position();
    SetPackedRows(picture.rows, bytes.Size(), format.c_str());
    return picture;
}

// PAM: lines of "KEYWORD value" up to ENDHDR, comments and blank lines allowed.
struct PamHeader {
    std::optional<uint64_t> width, height, depth, maxValue;
    std::string tupleType;
};

std::string PamLine(ByteCursor& in) {
    std::string line;
    for (int c = in.Next(); c != '\n'; c = in.Next()) {
        if (c < 0) Fail("truncated PAM header");
        if (line.size() == kLongestPamLine) Fail("malformed PAM header (a line is too long)");
        line += char(c);
    }
    return line;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    size_t at = 0;
    while (true) {
        while (at < line.size() && Blank(line[at])) ++at;
        if (at == line.size()) return words;
        const size_t start = at;
        while (at < line.size() && !Blank(line[at])) ++at;
        words.push_back(line.substr(start, at - start));
    }
}

std::optional<uint64_t> PamNumber(const std::vector<std::string>& words) {
    if (words.size() != 2 || words[1].size() > 10 || words[1].find_first_not_of("0123456789") != std::string::npos)
        Fail("malformed PAM header: " + Printable(words[0]) + " needs a number");
    return std::stoull(words[1]);
}

PamHeader ReadPamHeader(ByteCursor& in) {
    PamHeader header;
    if (!Blank(in.Next())) Fail("malformed PAM header");
    while (true) {
        const std::vector<std::string> words = Words(PamLine(in));
        if (words.empty() || words[0][0] == '#') continue;
        const std::string& key = words[0];
        if (key == "ENDHDR") return header;
        if (key == "WIDTH") header.width = PamNumber(words);
        else if (key == "HEIGHT") header.height = PamNumber(words);
        else if (key == "DEPTH") header.depth = PamNumber(words);
        else if (key == "MAXVAL") header.maxValue = PamNumber(words);
        else if (key == "TUPLTYPE") {
            for (size_t i = 1; i < words.size(); ++i)
                header.tupleType += (header.tupleType.empty() ? "" : " ") + words[i];
        } else {
            Fail("malformed PAM header: unknown keyword " + Printable(key));
        }
    }
}

// The tuple types read, their depth and whether they are grey.
struct TupleType {
    std::string_view name;
    int depth;
    bool grey;
};
constexpr TupleType kTupleTypes[] = {
    {"GRAYSCALE", 1, true}, {"GRAYSCALE_ALPHA", 2, true}, {"BLACKANDWHITE", 1, true}, {"BLACKANDWHITE_ALPHA", 2, true},
    {"RGB", 3, false},      {"RGB_ALPHA", 4, false},
};

PictureLayout ReadPam(ByteCursor& in, PictureBytes& bytes) {
    const PamHeader header = ReadPamHeader(in);
    auto required = [](const std::optional<uint64_t>& field, const char* name) {
        if (!field) Fail(std::string("malformed PAM header: no ") + name);
    };
    required(header.width, "WIDTH"), required(header.height, "HEIGHT");
    required(header.depth, "DEPTH"), required(header.maxValue, "MAXVAL");
    CheckMaxValue(*header.maxValue, "PAM");
    const uint64_t depth = *header.depth;
    const TupleType* type = nullptr;
    for (const TupleType& known : kTupleTypes)
        if (header.tupleType.empty() ? uint64_t(known.depth) == depth : known.name == header.tupleType) {
            type = &known;
            break;
        }
    if (!type && header.tupleType.empty())
        Fail("unsupported PAM: depth " + std::to_string(depth) + " without a tuple type");
    if (!type)
        Fail("unsupported PAM tuple type " + Printable(header.tupleType) +
             " (GRAYSCALE, RGB and their _ALPHA types are read)");
    if (uint64_t(type->depth) != depth)
        Fail("malformed PAM header: DEPTH " + std::to_string(depth) + " does not suit " + std::string(type->name));
    PictureLayout picture{SampleRows(*header.width, *header.height, type->depth, *header.maxValue, type->grey), {}};
    picture.rows.pixelOffset = in.Position();
    SetPackedRows(picture.rows, bytes.Size(), "PAM");
    return picture;
}

}  // namespace

PictureLayout ReadNetpbm(PictureBytes& bytes) {
    ByteCursor in(bytes);
    in.Next();  // 'P'
    const char kind = char(in.Next());
    if (kind == '7') return ReadPam(in, bytes);
    return ReadPnm(in, bytes, kind);
}

}  // namespace vardolin::tools
