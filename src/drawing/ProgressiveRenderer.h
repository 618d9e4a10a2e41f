// SPDX-License-Identifier: MIT
#pragma once

#include "core/PreferencesStore.h"
#include "drawing/DrawingPace.h"
#include "drawing/Settings.h"
#include "drawing/Sorvala.h"
#include "drawing/SorvalaGenerator.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

/// How one line style lays down a line: each pass strokes the line at a width factor and alpha.
struct StylePass {
    double widthFactor = 1;
    double alpha = 1;
};

/// The passes of a resolved style, in drawing order (pencil one, brush three).
std::span<const StylePass> stylePasses(Settings::Style resolvedStyle);
/// The widest width factor of the style's passes.
double widestFactor(Settings::Style resolvedStyle);

/// The copies a style draws of one line: brush the line itself, pencil two copies jittered by a
/// small wave whose phase continues along the stroke (`phaseBase` is the index of the first point).
std::vector<std::vector<Point>> styledCopies(std::span<const Point> points, int phaseBase, Settings::Style resolvedStyle);

/// A finished piece of pen line waiting to be laid down for good.
struct PendingStamp {
    std::vector<Point> points;
    double width = 1;
    int phaseBase = 0;
    Settings::Ink ink = Settings::Ink::classic;
    /// Whether the line gets a round cap where it begins and where it ends: only at the open ends
    /// of a stroke. Where one chunk carries on from the last, or a stroke closes on itself, the
    /// ends meet flat so the translucent line is not doubled there.
    bool roundStart = false;
    bool roundEnd = false;
};

/// Whether a stroke ends where it began (a ring), so its two ends meet.
bool isClosed(const Stroke& stroke);

/// Which ink each chunk of a drawing gets: one ink, or a multicolour palette cycled per block.
struct InkPlan {
    Settings::Ink setting = Settings::Ink::classic;  ///< the ink setting (multicolour or not)
    Settings::Ink resolved = Settings::Ink::classic; ///< the ink resolved for this drawing
    std::array<Settings::Ink, 3> palette{Settings::Ink::classic, Settings::Ink::classic, Settings::Ink::classic};
    double inkPerBlock = 0; ///< ink length per colour when the drawing has too few colour blocks
    int colorBlockSize = 1;

    /// The ink of a chunk that begins after `inkDistance` points of line on stroke `strokeIndex`.
    Settings::Ink inkFor(double inkDistance, std::size_t strokeIndex) const;
};

/// The ink plan of a drawing: the setting, the ink it resolved to and, for multicolour, the
/// palette starting at `paletteStart` and the ink per block when there are fewer blocks than colours.
InkPlan inkPlanFor(const Sorvala& sorvala, Settings::Ink setting, Settings::Ink resolved, std::uint64_t paletteStart);

/// The multicolour palette: three neighbours on the ring classic, ocean, forest, sepia, crimson,
/// plum, starting at `start` (0 … 5).
std::array<Settings::Ink, 3> multicolorPalette(std::uint64_t start);

/// The stamps a pen leaves on a finished drawing, cut where the live renderer would commit its
/// tail, with the breathing width and the ink of each chunk. Used to render a finished drawing.
std::vector<PendingStamp> finishedStamps(const Sorvala& sorvala, const InkPlan& plan);

/// The smallest rectangle holding some points, in points.
struct Extent {
    double minX = 0;
    double minY = 0;
    double maxX = 0;
    double maxY = 0;
};
/// The extent of the points; all zero for none.
Extent extentOf(std::span<const Point> points);

/// Whether a live tail is long enough to be laid down: more than 256 points, or more than 160
/// points across.
bool tailNeedsCommit(std::span<const Point> tail);

/// The pen that draws a drawing the way a hand would, advanced by a media clock the host supplies,
/// with no painting of its own: a painter asks it for the stamps to lay down, the live tail, the
/// pen tip and the colours, and paints them. The host calls `animateOneFrame` once per refresh.
class ProgressiveRenderer {
public:
    /// drawing: the pen is moving; holding: complete, on screen until `until`; fading: the ink
    /// fades out until `until`.
    struct Phase {
        enum class Kind { drawing, holding, fading };
        Kind kind = Kind::drawing;
        double until = 0;
        bool operator==(const Phase&) const = default;
    };

    /// Colours for the current pen ink, cached per ink.
    struct StrokeColors {
        Settings::Ink ink = Settings::Ink::classic;
        std::vector<Rgba> tailPassColors;
        Rgba glowFill;
        Rgba glowShadow;
    };

    /// What a painter must do since it last asked: repaint everything (the paper, theme or size
    /// changed), clear the ink (a new drawing began), lay down these stamps.
    struct Changes {
        bool repaintAll = false;
        bool inkCleared = false;
        std::vector<PendingStamp> stamps;
    };

    /// Where drawings, randomness and the profiling line come from. The defaults are the
    /// generator, the system's secure random source and standard error.
    struct Environment {
        std::function<Sorvala(double width, double height, int drawing, std::uint64_t seed)> generate;
        std::function<std::uint64_t()> random;
        std::function<void(std::string_view line)> profileSink;
        std::optional<bool> profiling; ///< unset: on when SORVALA_PROFILE is in the environment
        int drawingCount = SorvalaGenerator::drawingCount;
    };

    /// A renderer reading its appearance from `store`; `now` starts the profiling interval.
    ProgressiveRenderer(PreferencesStore& store, Environment environment, double now);
    /// A renderer with a fixed appearance that reloading keeps, for tools and measurements.
    ProgressiveRenderer(Settings appearance, Environment environment, double now);

    /// Forces the drawing number of every new drawing.
    std::optional<int> drawingOverride;
    /// Replaces the stored speed level for the pace of new drawings.
    std::optional<double> speedOverride;

    /// The host's surface size in points; a different size mid-drawing starts a drawing for it.
    void setSize(double width, double height);
    /// Whether the host is a secondary screen that must stay black and draw nothing.
    void setSuppressed(bool suppressed);
    /// Whether the desktop prefers a dark appearance; changes redraw when the theme follows it.
    void setSystemDark(bool dark);

    /// Re-rolls the random theme, forgets the last frame time and starts a drawing if none.
    void startAnimation();
    /// Reads the appearance again and starts a new drawing when one exists.
    void reloadSettings();
    /// Advances one frame to media time `now`.
    void animateOneFrame(double now);

    /// Drains what the painter must do since it last asked.
    Changes takeChanges();

    /// True once the pen has left the last stroke of a drawing that has strokes.
    bool isDrawingComplete() const;
    /// The pen's line not yet laid down, ending at the pen's position; empty when none.
    std::vector<Point> livePenTail() const;
    /// The index of the live tail's first point within its stroke, for the pencil jitter.
    int penTailPhaseBase() const { return m_penTailPhaseBase; }
    /// Line width of the current chunk.
    double currentPenWidth() const { return m_currentPenWidth; }
    /// Colours of the current chunk's ink on the current theme.
    const StrokeColors& strokeColors();
    /// Opacity of the ink and tail: 1, falling to 0 while fading.
    double inkOpacity() const { return m_inkOpacity; }

    const Phase& phase() const { return m_phase; }
    const Sorvala& sorvala() const { return m_sorvala; }
    const Settings& settings() const { return m_settings; }
    /// `paper` or `dark`, fixed when the surface was last configured.
    Settings::Theme theme() const { return m_theme; }
    Settings::Style currentStyle();
    Settings::Ink currentInk() const { return m_plan.resolved; }
    /// The ink plan of the current drawing.
    const InkPlan& inkPlan() const { return m_plan; }
    /// The style of the current drawing once it has been resolved.
    std::optional<Settings::Style> resolvedStyle() const { return m_currentStyle; }
    int drawingIndex() const { return m_drawingIndex; }
    /// The drawing number of the current drawing.
    std::optional<int> currentDrawing() const { return m_currentDrawing; }
    double effectiveSpeed() const { return m_effectiveSpeed; }
    double penLiftSeconds() const { return m_penLiftSeconds; }
    double inkDistance() const { return m_inkDistance; }
    double totalInkLength() const { return m_totalInk; }
    std::size_t strokeIndex() const { return m_strokeIndex; }
    bool suppressed() const { return m_suppressed; }
    double width() const { return m_width; }
    double height() const { return m_height; }
    /// Stamps handed to the painter since the drawing began.
    long long stampsReleased() const { return m_stampsReleased; }
    /// Every vertex the pen passed, as (stroke, point) counts per stroke; for tests and tools.
    const std::vector<std::size_t>& verticesVisited() const { return m_verticesVisited; }

private:
    void startNewSorvala();
    int nextEnabledFrom(int number) const;
    void beginInkChunk();
    void configureLayers();
    DrawingPace::TravelOutcome travel(double budget);
    void commitTailAndRelease();
    void profile(double now);

    Settings loadSettings() const;

    PreferencesStore* m_store = nullptr;
    Settings m_fixedSettings;
    Environment m_environment;
    Settings m_settings;
    Settings::Theme m_theme = Settings::Theme::paper;
    std::optional<Settings::Style> m_currentStyle;
    int m_drawingIndex = 0;
    std::optional<int> m_currentDrawing;
    Sorvala m_sorvala;
    Phase m_phase;
    std::size_t m_strokeIndex = 0;
    std::size_t m_segmentIndex = 0;
    double m_distanceIntoSegment = 0;
    std::vector<Point> m_currentStrokePoints;
    int m_penTailPhaseBase = 0;
    std::vector<PendingStamp> m_pendingStamps;
    std::optional<double> m_lastFrameTime;
    double m_lastVisualUpdateTime = 0;
    double m_penLiftSeconds = 0;
    double m_penLiftRemaining = 0;
    double m_inkDistance = 0;
    double m_currentPenWidth = 1.0;
    Settings::Ink m_currentPenInk = Settings::Ink::classic;
    InkPlan m_plan;
    std::optional<StrokeColors> m_strokeColorCache;
    double m_effectiveSpeed = 400;
    double m_totalInk = 0;
    double m_inkOpacity = 1;
    double m_width = 0;
    double m_height = 0;
    bool m_suppressed = false;
    bool m_systemDark = false;
    Changes m_changes;
    long long m_stampsReleased = 0;
    std::vector<std::size_t> m_verticesVisited;

    bool m_profiling = false;
    int m_profileFrameCount = 0;
    int m_profileStampCount = 0;
    double m_profileLastReport = 0;
    double m_profilePenDistance = 0;
    std::optional<double> m_profileLastFrameTime;
    double m_profileWorstFrameGap = 0;
};

} // namespace sorvala
