# The album pane of the main window $main, for the album scripts (sourced after driver.sh).
#
# Main window layout: a 3-pixel border, the 29-pixel title bar, the 22-pixel menu bar and a
# 6-pixel strip above the pane; the 54-pixel category bar at its left. In the preview layout the
# album grid is 180 wide; the preview pane beside it has a 6-pixel strip at its left and, under
# the 25-pixel toolbar, its line and the 19-pixel title strip, the picture area, whose top left
# corner the preview picture keeps.
preview_dx=$((3 + 54 + 180 + 6))
preview_dy=$((29 + 22 + 6 + 26 + 19))

# The test pictures are at least 30 pixels each way: a point 8 to 20 pixels into the picture
# area lies on every one of them.
preview_point() {  # [OFFSET]: 10 by default
    local X Y WIDTH HEIGHT SCREEN WINDOW offset=${1:-10}
    eval "$(xdotool getwindowgeometry --shell "$main")"
    echo $((X + preview_dx + offset)) $((Y + preview_dy + offset))
}

# The album grid's pop-up menu by the keyboard's menu key, then items by their access keys:
# i 添加, d 删除, r 刷新, s 搜索, c 排序 (n name, b description, f format), m 模式 (l 列表,
# p 预览, t 缩略图+列表, u 缩略图+预览).
grid_command() {
    focus "$main"
    menu_keys Menu "$@"
}

# The preview picture's pop-up menu has no key: a right click on the picture, then the item's
# access key: a 显示缩略图, f first, p previous, n next, l last, c copy, s save as.
# Two right clicks at one place in quick succession would make a double click, which opens no
# menu: every other click goes 12 pixels further in.
right_clicks=0
picture_command() {
    local point
    right_clicks=$((right_clicks + 1))
    point=$(preview_point $((8 + 12 * (right_clicks % 2))))
    # shellcheck disable=SC2086
    open_menu click_at $point 3
    keys "$1"
    wait_for 10 menus_closed || fail "the picture menu stayed open after the key '$1'"
}

# The picture toolbar along the bottom of the preview pane (23 high, its buttons' middles 80 to
# 212 pixels from its left): its buttons have no keys.
declare -A toolbar_buttons=([first]=80 [previous]=105 [next]=130 [last]=155 [copy]=187 [save]=212)
toolbar_button() {  # first, previous, next, last, copy or save
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$main")"
    click_at $((X + preview_dx + toolbar_buttons[$1])) $((Y + HEIGHT - 3 - 19 - 12))
}

# Whether the colour at the preview point is near the colour named (JPEG shades it slightly).
declare -A colour_values=([red]="255 0 0" [green]="0 255 0" [blue]="0 0 255")
preview_is() {  # red, green or blue
    local point rgb want
    point=$(preview_point)
    # shellcheck disable=SC2086
    rgb=$(pixel $point)
    read -r -a want <<<"${colour_values[$1]}"
    local seen=($((16#${rgb:0:2})) $((16#${rgb:2:2})) $((16#${rgb:4:2})))
    for i in 0 1 2; do
        local difference=$((seen[i] - want[i]))
        ((difference < 0)) && difference=$((-difference))
        ((difference <= 40)) || return 1
    done
}
expect_preview() {  # red, green or blue
    wait_for 10 preview_is "$1" || fail "the preview shows #$(pixel $(preview_point)), not the $1 picture"
}
preview_hidden() {
    ! preview_is red && ! preview_is green && ! preview_is blue
}
