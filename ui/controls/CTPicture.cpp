#include "ui/controls/CTPicture.h"

#include <algorithm>
#include <fstream>

#include "ui/framework/CPainter.h"
#include "ui/framework/CUi.h"

namespace {

constexpr std::size_t maxFileBytes = 16 * 1024 * 1024;
// A skin's animations are a few hundred pixels square with a few dozen
// frames; a file claiming more than this (64 MB of pixels) in its screen or
// in all its frames together is not one of them.
constexpr int64_t maxPixels = 16 * 1024 * 1024;
constexpr std::chrono::milliseconds stopWait{5000};
// The window colours the canvas is cleared with (button face, menu).
constexpr Colour buttonFaceColour = Rgb(240, 240, 240);
constexpr Colour menuColour = Rgb(240, 240, 240);

int Word(const uint8_t* p)
{
    return p[0] | p[1] << 8;
}

std::size_t ColourTableBytes(uint8_t flags)
{
    return (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0;
}

// Skips a chain of sub-blocks starting at `pos`; false when it runs past the end.
bool SkipSubBlocks(const uint8_t* data, std::size_t size, std::size_t& pos)
{
    for (;;) {
        if (pos >= size)
            return false;
        std::size_t length = data[pos++];
        if (length == 0)
            return true;
        if (length > size - pos)
            return false;
        pos += length;
    }
}

} // namespace

bool CTPicture::WalkGif(const uint8_t* data, std::size_t size, GifLayout& layout)
{
    layout = GifLayout();
    if (!data || size < 13)
        return false;
    layout.width = Word(data + 6);
    layout.height = Word(data + 8);
    std::size_t pos = 13 + ColourTableBytes(data[10]);
    if (pos > size)
        return false;
    layout.headerBytes = pos;
    GifLayout::Block pending;
    bool hasControl = false;
    while (pos < size) {
        uint8_t kind = data[pos];
        if (kind == 0x3B)
            break;
        if (kind == 0x21) {
            if (pos + 1 >= size)
                break;
            uint8_t label = data[pos + 1];
            if (label == 0xF9) {
                if (size - pos < 8)
                    break;
                pending = GifLayout::Block();
                pending.controlOffset = pos;
                pending.controlLength = 8;
                pending.disposal = (data[pos + 3] >> 2) & 7;
                pending.delay = Word(data + pos + 4);
                hasControl = true;
                pos += 8;
                continue;
            }
            if (label != 0x01 && label != 0xFE && label != 0xFF)
                break;
            std::size_t next = pos + 2;
            if (!SkipSubBlocks(data, size, next))
                break;
            // Plain text is not drawn; its control extension goes with it.
            if (label == 0x01)
                hasControl = false;
            pos = next;
            continue;
        }
        if (kind == 0x2C) {
            if (size - pos < 10)
                break;
            GifLayout::Block frame = hasControl ? pending : GifLayout::Block();
            frame.imageOffset = pos;
            frame.left = Word(data + pos + 1);
            frame.top = Word(data + pos + 3);
            frame.width = Word(data + pos + 5);
            frame.height = Word(data + pos + 7);
            std::size_t next = pos + 10 + ColourTableBytes(data[pos + 9]);
            if (next >= size) // the code-size byte must follow
                break;
            ++next;
            if (!SkipSubBlocks(data, size, next))
                break;
            frame.imageLength = next - pos;
            layout.frames.push_back(frame);
            hasControl = false;
            pos = next;
            continue;
        }
        break;
    }
    return !layout.frames.empty();
}

CTPicture::CTPicture()
{
    ownerPaint = true;
}

CTPicture::~CTPicture()
{
    Stop();
}

bool CTPicture::LoadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::vector<uint8_t> data;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        data.insert(data.end(), chunk, chunk + in.gcount());
        if (data.size() > maxFileBytes)
            return false;
    }
    return LoadMemory(data.data(), data.size());
}

bool CTPicture::LoadMemory(const uint8_t* data, std::size_t size)
{
    Unload();
    if (!data || size == 0)
        return false;
    bool gif = size >= 6 && (std::equal(data, data + 6, "GIF87a") || std::equal(data, data + 6, "GIF89a"));
    if (!gif) {
        if (!singlePicture.LoadData(data, size))
            return false;
        width = singlePicture.Width();
        height = singlePicture.Height();
        PrepareCanvas();
        return true;
    }
    isGif = true;
    GifLayout layout;
    if (!WalkGif(data, size, layout) || layout.width <= 0 || layout.height <= 0 ||
        int64_t(layout.width) * layout.height > maxPixels) {
        Unload();
        return false;
    }
    width = layout.width;
    height = layout.height;
    if (layout.frames.size() == 1) {
        if (!singlePicture.LoadData(data, size)) {
            Unload();
            return false;
        }
    } else {
        int64_t pixels = 0;
        for (GifLayout::Block block : layout.frames) {
            // Only the part of a frame on the screen is ever drawn.
            block.width = std::min(block.width, layout.width - std::min(block.left, layout.width));
            block.height = std::min(block.height, layout.height - std::min(block.top, layout.height));
            pixels += int64_t(block.width) * block.height;
            if (pixels > maxPixels) {
                Unload();
                return false;
            }
            std::vector<uint8_t> one(data, data + layout.headerBytes);
            one.insert(one.end(), data + block.controlOffset, data + block.controlOffset + block.controlLength);
            one.insert(one.end(), data + block.imageOffset, data + block.imageOffset + block.imageLength);
            one.push_back(0x3B);
            CSurface decoded;
            if (!decoded.LoadData(one.data(), one.size()))
                continue;
            // The decoder gives the whole logical screen; keep the frame's own area.
            Frame frame;
            CSurface own(block.width, block.height, 0);
            if (own.IsEmpty())
                continue;
            {
                CPainter cut(own);
                cut.CopySurfacePart(0, 0, decoded, {block.left, block.top, block.width, block.height});
            }
            frame.picture = std::move(own);
            frame.width = block.width;
            frame.height = block.height;
            frame.left = block.left;
            frame.top = block.top;
            frame.delay = block.delay;
            frame.disposal = block.disposal;
            frames.push_back(std::move(frame));
        }
        if (frames.empty()) {
            Unload();
            return false;
        }
    }
    PrepareCanvas();
    return true;
}

void CTPicture::PrepareCanvas()
{
    Move({Rect().x, Rect().y, width, height});
    backColor = buttonFaceColour;
    std::lock_guard lock(canvasLock);
    canvas = CSurface(width, height, menuColour);
    ready = !canvas.IsEmpty();
}

void CTPicture::Play()
{
    if (!ready || playThread.HasThread())
        return;
    if (frames.size() >= 2) {
        stopRequested = false;
        if (!stopEvent)
            stopEvent = std::make_unique<CEvent>(CUi::Instance().Clock(), CEvent::ManualReset);
        playThread.Start(CUi::Instance().Clock(), [this] { Animate(); });
        return;
    }
    {
        std::lock_guard lock(canvasLock);
        CPainter painter(canvas);
        painter.StretchSurface({0, 0, width, height}, singlePicture);
    }
    Invalidate();
}

void CTPicture::Dispose(const Frame& frame)
{
    std::lock_guard lock(canvasLock);
    CPainter painter(canvas);
    if (frame.disposal == 2) {
        painter.FillRect({frame.left, frame.top, frame.width, frame.height}, backColor);
    } else if (frame.disposal == 3 && !saveSurface.IsEmpty()) {
        painter.CopySurface(frame.left, frame.top, saveSurface);
        saveSurface = CSurface();
    }
}

void CTPicture::Animate()
{
    Dispose(frames[currentFrame]);
    while (!stopRequested) {
        const Frame& frame = frames[currentFrame];
        if (!frame.picture.IsEmpty()) {
            {
                std::lock_guard lock(canvasLock);
                if (frame.disposal == 3) {
                    saveSurface = CSurface(frame.width, frame.height, 0);
                    CPainter save(saveSurface);
                    save.CopySurfacePart(0, 0, canvas, {frame.left, frame.top, frame.width, frame.height});
                }
                CPainter painter(canvas);
                painter.StretchSurface({frame.left, frame.top, frame.width, frame.height}, frame.picture);
            }
            PostInvalidate();
        }
        std::chrono::milliseconds delay(frame.delay > 4 ? frame.delay * 10 : 100);
        stopEvent->Wait(delay);
        if (stopRequested)
            break;
        Dispose(frame);
        int next = currentFrame + 1;
        if (next >= int(frames.size())) {
            next = 0;
            std::lock_guard lock(canvasLock);
            CPainter painter(canvas);
            painter.FillRect({0, 0, width, height}, backColor);
        }
        currentFrame = next;
    }
}

void CTPicture::Stop()
{
    if (!playThread.HasThread())
        return;
    stopRequested = true;
    stopEvent->Set();
    // A thread that does not end in time is ended, never left running over a
    // control that is going away.
    if (playThread.WaitFor(stopWait))
        playThread.Release();
    else
        playThread.Terminate();
    stopEvent->Reset();
    stopRequested = false;
}

void CTPicture::Unload()
{
    Stop();
    std::lock_guard lock(canvasLock);
    canvas = CSurface();
    width = 0;
    height = 0;
    backColor = 0;
    isGif = false;
    frames.clear();
    singlePicture = CSurface();
    currentFrame = 0;
    saveSurface = CSurface();
    ready = false;
}

CSurface CTPicture::Canvas() const
{
    std::lock_guard lock(canvasLock);
    return canvas;
}

void CTPicture::OnPaint(CPainter& painter)
{
    std::lock_guard lock(canvasLock);
    painter.CopySurface(0, 0, canvas);
}

void CTPicture::OnDestroy()
{
    Stop();
}
