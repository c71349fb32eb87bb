#include "menu/MenuModel.h"

#include "adjust/AdjustSchedule.h"
#include "shell/DpiScale.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace lumora {
namespace {

using enum CommandId;

constexpr std::array<CommandInfo, 27> Commands{{
    {KeyMove, L"方向キーで移動(&M)", NoImage},
    {Option, L"オプション(&O)...", 0},
    {NetworkAdjust, L"インターネットで合わせる(&N)", 2},
    {JJYAdjust, L"電波時計で合わせる(&W)", 1},
    {AdjustClockZero, L"正時に合わせる(&Z)", 3},
    {WorldClock, L"世界時計(&W)...", 4},
    {NoTopMost, L"通常の配置(&N)", NoImage},
    {TopMost, L"手前に配置する(&T)", 5},
    {SpecialTopMost, L"常に手前に配置する(&S)", 6},
    {BottomMost, L"手前に配置しない(&B)", 7},
    {LTArrange, L"左上(&L)", 8},
    {RTArrange, L"右上(&T)", 9},
    {RBArrange, L"右下(&R)", 10},
    {LBArrange, L"左下(&B)", 11},
    {Fixed, L"位置を固定する(&F)", 12},
    {AlphaBlend, L"透明度の設定(&P)...", NoImage},
    {TestPattern, L"テストパターンを表示(&T)", 13},
    {ScreenSave, L"スクリーン セーバを起動(&E)", 14},
    {ScreenSaveConfig, L"スクリーン セーバの設定(&C)", NoImage},
    {MonitorOff, L"モニタの電源を切る(&F)", 18},
    {TimeDateCpl, L"日付と時刻のプロパティ(&R)", 15},
    {Timer, L"タイマー(&T)...", 19},
    {Help, L"ヘルプ(&H)", 16},
    {About, L"バージョン情報(&A)...", NoImage},
    {WebSite, L"&Web サイトを表示", NoImage},
    {Exit, L"Lumora の終了(&X)", 17},
    {Calendar, L"カレンダー(&C)", NoImage},
}};

MenuItem Item(CommandId command) {
    return {MenuItem::Kind::Command, command, {}, {}};
}
MenuItem Separator() {
    return {MenuItem::Kind::Separator, Option, {}, {}};
}
MenuItem Submenu(const wchar_t* caption, std::vector<MenuItem> items) {
    return {MenuItem::Kind::Submenu, Option, caption, std::move(items)};
}

bool WorldClockChecked(const WorldClockSettings& w) {
    return w.WorldClockMode ? w.WorldClockTime != NeverDate : w.TimeDiffTime != 0.0;
}

// Separators only between visible entries, once.
std::vector<MenuItem> Reduced(std::vector<MenuItem> items) {
    std::vector<MenuItem> kept;
    for (MenuItem& item : items) {
        const bool separator = item.Type == MenuItem::Kind::Separator;
        if (separator && (kept.empty() || kept.back().Type == MenuItem::Kind::Separator)) {
            continue;
        }
        kept.push_back(std::move(item));
    }
    if (!kept.empty() && kept.back().Type == MenuItem::Kind::Separator) {
        kept.pop_back();
    }
    return kept;
}

std::vector<MenuItem> VisibleOf(const std::vector<MenuItem>& items, const Settings& settings,
                                const MenuContext& context) {
    std::vector<MenuItem> visible;
    for (const MenuItem& item : items) {
        if (item.Type == MenuItem::Kind::Command && !CommandStateOf(item.Command, settings, context).Visible) {
            continue;
        }
        if (item.Type == MenuItem::Kind::Submenu) {
            MenuItem submenu = item;
            submenu.Items = VisibleOf(item.Items, settings, context);
            if (submenu.Items.empty()) {
                continue;
            }
            visible.push_back(std::move(submenu));
            continue;
        }
        visible.push_back(item);
    }
    return Reduced(std::move(visible));
}

} // namespace

const CommandInfo& CommandInfoOf(CommandId command) {
    const auto it = std::find_if(Commands.begin(), Commands.end(),
                                 [command](const CommandInfo& info) { return info.Command == command; });
    if (it == Commands.end()) {
        throw std::out_of_range("no such command");
    }
    return *it;
}

const std::vector<MenuItem>& PopupMenuItems() {
    static const std::vector<MenuItem> items{
        Item(Option),
        Separator(),
        Submenu(L"時刻合わせ(&J)", {Item(NetworkAdjust), Item(JJYAdjust), Separator(), Item(AdjustClockZero)}),
        Item(WorldClock),
        Separator(),
        Item(Timer),
        Separator(),
        Submenu(L"配置(&Z)", {Item(NoTopMost), Item(TopMost), Item(SpecialTopMost), Item(BottomMost)}),
        Submenu(L"移動(&M)",
                {Item(KeyMove), Separator(), Item(LTArrange), Item(RTArrange), Item(RBArrange), Item(LBArrange)}),
        Item(Fixed),
        Separator(),
        Item(AlphaBlend),
        Separator(),
        Submenu(L"ツール(&L)", {Item(TestPattern), Separator(), Item(ScreenSave), Item(ScreenSaveConfig),
                                Item(MonitorOff), Separator(), Item(TimeDateCpl)}),
        Separator(),
        Item(Help),
        Item(About),
        Separator(),
        Item(Exit),
    };
    return items;
}

CommandState CommandStateOf(CommandId command, const Settings& settings, const MenuContext& context) {
    CommandState state;
    state.Enabled = !context.Busy.contains(command);
    if (const auto mode = StackingModeOf(command)) {
        state.Radio = true;
        state.Checked = StackingModeFromSetting(settings.View.Placement.ZOrder) == *mode;
        return state;
    }
    switch (command) {
    case NetworkAdjust:
        state.Visible = NetworkAdjustVisible(settings.AdjustClock);
        break;
    case JJYAdjust:
        state.Visible = KitAdjustVisible(settings.AdjustClock) && context.KitPortSelected;
        break;
    case TestPattern:
        state.Visible = settings.Omake.ShowTestPattern;
        break;
    case Fixed:
        state.Checked = settings.Operation.Fixed;
        break;
    case AlphaBlend:
        state.Checked = settings.View.AlphaBlend < 255;
        state.Enabled = state.Enabled && context.ColourDepth > 15 && context.LayeredWindows;
        break;
    case WorldClock:
        state.Checked = WorldClockChecked(settings.WorldClock);
        break;
    case Timer:
        state.Checked = context.TimerRunning;
        break;
    default:
        break;
    }
    return state;
}

std::vector<MenuItem> VisibleMenuItems(const Settings& settings, const MenuContext& context) {
    return VisibleOf(PopupMenuItems(), settings, context);
}

std::vector<PixelBuffer> SplitMenuImages(const PixelBuffer& sheet) {
    if (sheet.Width != MenuImageCount * MenuImageSize || sheet.Height != 2 * MenuImageSize) {
        return {};
    }
    std::vector<PixelBuffer> images;
    for (int i = 0; i < MenuImageCount; ++i) {
        PixelBuffer image(MenuImageSize, MenuImageSize, 0);
        for (int y = 0; y < MenuImageSize; ++y) {
            for (int x = 0; x < MenuImageSize; ++x) {
                const int sx = i * MenuImageSize + x;
                const bool shown = (sheet.At(sx, MenuImageSize + y) & 0xFFFFFFu) == 0;
                image.At(x, y) = shown ? (sheet.At(sx, y) | 0xFF000000u) : 0;
            }
        }
        images.push_back(std::move(image));
    }
    return images;
}

int MenuImageSizeAt(int dpi) {
    return ScaleToDpi(MenuImageSize, dpi);
}

PixelBuffer ScaleMenuImage(const PixelBuffer& image, int size) {
    if (image.Empty() || size <= 0) {
        return {};
    }
    PixelBuffer scaled(size, size, 0);
    // Coordinates in units of 1 / (image side x new side), so every edge falls on a whole number.
    const int64_t across = int64_t{image.Width} * size;
    const int64_t down = int64_t{image.Height} * size;
    for (int y = 0; y < size; ++y) {
        const int64_t top = y * down / size, bottom = (y + 1) * down / size;
        for (int x = 0; x < size; ++x) {
            const int64_t left = x * across / size, right = (x + 1) * across / size;
            int64_t sums[4] = {};
            for (int64_t sy = top / size; sy * size < bottom; ++sy) {
                const int64_t height = std::min(bottom, (sy + 1) * size) - std::max(top, sy * size);
                for (int64_t sx = left / size; sx * size < right; ++sx) {
                    const int64_t weight = height * (std::min(right, (sx + 1) * size) - std::max(left, sx * size));
                    const Pixel p = image.At(static_cast<int>(sx), static_cast<int>(sy));
                    for (int c = 0; c < 4; ++c) {
                        sums[c] += weight * ((p >> (8 * c)) & 0xFF);
                    }
                }
            }
            const int64_t area = (right - left) * (bottom - top);
            Pixel mean = 0;
            for (int c = 0; c < 4; ++c) {
                mean |= static_cast<Pixel>((sums[c] + area / 2) / area) << (8 * c);
            }
            scaled.At(x, y) = mean;
        }
    }
    return scaled;
}

MenuMetrics MenuMetricsAt(int dpi) {
    const MenuMetrics base;
    MenuMetrics m;
    m.ImageSize = MenuImageSizeAt(dpi);
    for (auto field : {&MenuMetrics::Gutter, &MenuMetrics::TextGap, &MenuMetrics::SeparatorHeight,
                       &MenuMetrics::TextPadding, &MenuMetrics::ImagePadding, &MenuMetrics::CheckInset}) {
        m.*field = ScaleToDpi(base.*field, dpi);
    }
    // Whole pixels for the tick: 1 below 150 %, 2 from 150 %, 3 from 250 %.
    m.CheckStroke = std::max(1, (UsableDpi(dpi) + BaseDpi / 2) / BaseDpi);
    return m;
}

bool RunsInPlace(CommandId command) {
    switch (command) {
    case CommandId::ScreenSave:
    case CommandId::ScreenSaveConfig:
    case CommandId::MonitorOff:
    case CommandId::Help:
    case CommandId::TimeDateCpl:
    case CommandId::WebSite:
        return true;
    default:
        return false;
    }
}

} // namespace lumora
