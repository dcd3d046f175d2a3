#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Event.h"
#include "platform/WorkerThread.h"
#include "ui/framework/CSurface.h"
#include "ui/framework/CWindow.h"

// A picture control: a still image, or an animated GIF played frame by frame
// on a thread of its own with each frame's delay and disposal. The GIF blocks
// are walked here; each frame is cut into a standalone GIF and decoded on
// its own. Loading a truncated or hostile file fails and shows nothing.
//
// The animation thread draws into the canvas and asks for redraws; the canvas
// is shared with painting under `canvasLock`.
class CTPicture : public CWindow {
public:
    struct Frame {
        CSurface picture;
        int width = 0;
        int height = 0;
        int left = 0;
        int top = 0;
        int delay = -1;  // hundredths of a second, -1 without a control extension
        int disposal = 0;
    };

    // What a walk over a GIF's blocks finds: each frame's bytes (control
    // extension and image) and fields.
    struct GifLayout {
        int width = 0;
        int height = 0;
        std::size_t headerBytes = 0; // header and global colour table
        struct Block {
            std::size_t controlOffset = 0, controlLength = 0;
            std::size_t imageOffset = 0, imageLength = 0;
            int left = 0, top = 0, width = 0, height = 0, delay = -1, disposal = 0;
        };
        std::vector<Block> frames;
    };
    static bool WalkGif(const uint8_t* data, std::size_t size, GifLayout& layout);

    CTPicture();
    ~CTPicture() override;

    bool LoadFile(const std::string& path);
    bool LoadMemory(const uint8_t* data, std::size_t size);
    void Play();
    void Stop();
    void Unload();
    bool IsPlaying() const { return playThread.HasThread(); }

    // A copy of what the control shows now.
    CSurface Canvas() const;

    CSurface canvas;
    int width = 0;
    int height = 0;
    Colour backColor = 0;
    bool isGif = false;
    std::vector<Frame> frames;
    CSurface singlePicture;
    std::atomic<int> currentFrame{0};
    std::atomic<bool> stopRequested{false};
    CSurface saveSurface;
    bool ready = false;

    void OnPaint(CPainter& painter) override;
    void OnDestroy() override;

private:
    void Animate();
    void Dispose(const Frame& frame);
    void PrepareCanvas();

    mutable std::mutex canvasLock;
    std::unique_ptr<CEvent> stopEvent;
    CWorkerThread playThread;
};
