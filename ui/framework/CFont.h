#pragma once

#include <memory>
#include <string>

// A font by cell height in pixels, weight (0 the default, 700 bold) and face.
// Faces of the settings that this desktop lacks are looked up through the
// framework's substitutions ("Microsoft YaHei" is drawn with Noto Sans CJK SC).
class CFont {
public:
    CFont();
    CFont(int height, int weight, const std::u16string& face);
    CFont(const CFont& other);
    CFont& operator=(const CFont& other);
    ~CFont();

    // The face the desktop draws this font with, after substitutions.
    std::u16string DrawnFace() const;

    int height = 0;
    int weight = 0;
    std::u16string face;

    struct Impl;
    const Impl& Data() const { return *impl; }

private:
    std::unique_ptr<Impl> impl;
};
