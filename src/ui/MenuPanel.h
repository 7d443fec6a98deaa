// MenuPanel: one menu page. It owns a vertical list of rows of equal height
// (buttons, labels, blanks, sliders, toggles), laid out anew on every update
// for the current screen size, and the pages it leads to (its sub-pages). A
// centred page sits in the middle of the screen; the other kind stands in
// the bottom-left corner, its last row ending one margin above the bottom.
//
// Rows are updated only while the page is visible; sub-pages are updated
// and drawn whatever the page's own visibility (each checks its own), so a
// whole tree of pages is run through its top page. A page switch hides the
// page that holds the clicked row and shows the target; Show also clears
// the rows' highlight, so a page that reappears shows none until the mouse
// is found over a row again.
//
// The row makers copy the panel's text size and scaling into the row; a
// page builder that wants denser rows sets `textSize`, `scaleText` and
// `rowScale` before adding any. The rows returned are owned by the panel.
//
// A row's text may run past the row's ends over empty screen: the layout
// gives every row the span from one margin inside the screen's left edge to
// one margin inside its right edge, narrowed to keep one margin clear of any
// of `besideAreas` that shares the row's height. Only a text that would still
// pass the span (or whose line is taller than the row) is drawn smaller.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/BaseUIComponent.h"
#include "ui/MenuStyle.h"

namespace mirefell
{

class IMenuPanelItem;
class MenuButton;
class MenuLabel;
class MenuSlider;
class MenuToggle;

class MenuPanel : public BaseUIComponent
{
public:
    // A new visible panel, centred on the screen.
    static std::unique_ptr<MenuPanel> Create(Painter* painter_);
    // A new visible panel, centred or in the bottom-left corner.
    static std::unique_ptr<MenuPanel> CreateWithAlignment(Painter* painter_, bool centred_);

    MenuPanel(Painter* painter_, bool centred_);
    ~MenuPanel() override;

    // Lays the rows out (rows ten units wide, one unit times rowScale high,
    // with their text spans) and updates them while visible; then every
    // sub-page, which first takes this page's `besideAreas`.
    void Update() override;
    // The rows while visible, then every sub-page.
    void Draw() override;
    // Clears every row's highlight, then shows the page.
    void Show() override;
    // A page switch: hides this page, then shows `target`.
    void SwitchTo(BaseUIComponent& target);

    void AddBlank();
    MenuLabel* AddLabel(std::wstring text);
    MenuButton* AddButton(std::wstring text, std::function<void()> onClick);
    MenuSlider* AddSlider(std::wstring caption, std::function<std::wstring()> valueText,
                          std::function<void()> onDecrease, std::function<void()> onIncrease);
    MenuToggle* AddToggle(std::wstring caption, std::function<bool()> isChecked, std::function<void()> onToggle);
    void AddSubPage(std::unique_ptr<BaseUIComponent> page);

    int32_t textSize = 1;
    bool scaleText = false;
    float rowScale = 1.0f;
    std::vector<std::unique_ptr<BaseUIComponent>> rows; // top first
    std::vector<std::unique_ptr<BaseUIComponent>> subPages;
    const bool centred;
    // The widgets drawn beside the page, which its texts keep clear of (not
    // owned; the owner's, and read at every update), or null for none.
    const std::vector<ScreenArea>* besideAreas = nullptr;

private:
    template <class Row> Row* AddRow(std::unique_ptr<Row> row);

    std::vector<IMenuPanelItem*> items; // the rows' layout side, in row order
};

} // namespace mirefell
