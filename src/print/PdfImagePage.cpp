#include "print/PdfImagePage.h"

#include "image/AtomicFileWriter.h"

#include <array>
#include <charconv>
#include <vector>

namespace halvera {

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;
// Arial's (and Helvetica's stand-in's) ascent in ems: the title's top lies
// this far above its baseline.
constexpr double kTitleAscent = 0.905;

// A number in PDF syntax: fixed, a point as separator in every locale.
std::string Number(double value) {
    std::array<char, 64> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 3);
    return std::string(text.data(), result.ptr);
}

// A PDF literal string of the UTF-8 `text` in Latin-1: parentheses and
// backslashes escaped, what Latin-1 lacks as '?'.
std::string LiteralString(const std::string& text) {
    std::string out = "(";
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned code = static_cast<unsigned char>(text[i]);
        if (code >= 0x80) {
            // A two-byte sequence of U+0080..U+00FF; anything longer is '?'.
            if ((code & 0xE0) == 0xC0 && i + 1 < text.size() && code <= 0xC3) {
                code = ((code & 0x1F) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F);
            } else {
                while (i + 1 < text.size() &&
                       (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80)
                    ++i;
                code = '?';
            }
        }
        if (code == '(' || code == ')' || code == '\\')
            out += '\\';
        if (code < 0x20) {
            out += '?';
            continue;
        }
        out += static_cast<char>(code);
    }
    return out + ")";
}

std::string ImageRows(const CDibImage& image) {
    std::string rows;
    rows.reserve(static_cast<size_t>(image.width()) * image.height * 3);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* p = image.row(y);
        for (const uint8_t* const end = p + 3 * image.width(); p != end; p += 3) {
            rows += static_cast<char>(p[2]);
            rows += static_cast<char>(p[1]);
            rows += static_cast<char>(p[0]);
        }
    }
    return rows;
}

class PdfWriter {
public:
    // Starts object `number` (objects are written in order from 1).
    void BeginObject() {
        offsets_.push_back(bytes_.size());
        bytes_ += std::to_string(offsets_.size()) + " 0 obj\n";
    }
    void EndObject() { bytes_ += "\nendobj\n"; }
    void Object(const std::string& body) {
        BeginObject();
        bytes_ += body;
        EndObject();
    }
    void Stream(const std::string& dictionary, const std::string& data) {
        BeginObject();
        bytes_ += "<< " + dictionary + " /Length " + std::to_string(data.size()) + " >>\nstream\n";
        bytes_ += data;
        bytes_ += "\nendstream";
        EndObject();
    }
    std::string Finish() {
        const size_t xref = bytes_.size();
        bytes_ += "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
        for (const size_t offset : offsets_) {
            std::string entry = std::to_string(offset);
            bytes_ += std::string(10 - entry.size(), '0') + entry + " 00000 n \n";
        }
        bytes_ += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) +
                  " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return std::move(bytes_);
    }

private:
    std::string bytes_ = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets_;
};

} // namespace

std::string PdfImagePageBytes(const PdfImagePage& page) {
    const double pageWidth = page.pageWidth * kPointsPerMm;
    const double pageHeight = page.pageHeight * kPointsPerMm;
    const bool hasImage = !page.image.empty() && page.image.bitCount() == 24 &&
                          page.image.width() > 0 && page.image.height > 0 && page.imageWidth > 0 &&
                          page.imageHeight > 0;

    std::string content;
    if (hasImage) {
        // The unit square of the image onto its rectangle; PDF counts y upward.
        const double bottom = page.imageTop + page.imageHeight;
        content += "q " + Number(page.imageWidth * kPointsPerMm) + " 0 0 " +
                   Number(page.imageHeight * kPointsPerMm) + " " +
                   Number(page.imageLeft * kPointsPerMm) + " " +
                   Number(pageHeight - bottom * kPointsPerMm) + " cm /Im1 Do Q\n";
    }
    if (!page.title.empty()) {
        const double baseline = page.titleTop + kTitleAscent * page.titleSize;
        content += "BT /F1 " + Number(page.titleSize * kPointsPerMm) + " Tf " +
                   Number(page.titleRed / 255.0) + " " + Number(page.titleGreen / 255.0) + " " +
                   Number(page.titleBlue / 255.0) + " rg " + Number(page.titleLeft * kPointsPerMm) +
                   " " + Number(pageHeight - baseline * kPointsPerMm) + " Td " +
                   LiteralString(page.title) + " Tj ET\n";
    }

    PdfWriter pdf;
    pdf.Object("<< /Type /Catalog /Pages 2 0 R >>");
    pdf.Object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    pdf.Object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(pageWidth) + " " +
               Number(pageHeight) +
               "] /Resources << /XObject << /Im1 5 0 R >> /Font << /F1 6 0 R >> >> "
               "/Contents 4 0 R >>");
    pdf.Stream("", content);
    if (hasImage)
        pdf.Stream("/Type /XObject /Subtype /Image /Width " + std::to_string(page.image.width()) +
                       " /Height " + std::to_string(page.image.height) +
                       " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Interpolate false",
                   ImageRows(page.image));
    else
        pdf.Stream("/Type /XObject /Subtype /Image /Width 1 /Height 1 /ColorSpace /DeviceRGB "
                   "/BitsPerComponent 8",
                   std::string("\xFF\xFF\xFF", 3));
    pdf.Object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica "
               "/Encoding /WinAnsiEncoding >>");
    return pdf.Finish();
}

bool WritePdfImagePage(const std::string& path, const PdfImagePage& page) {
    const std::string bytes = PdfImagePageBytes(page);
    AtomicFileWriter writer(path);
    return writer.Open() && writer.Write(bytes.data(), bytes.size()) && writer.Commit();
}

} // namespace halvera
