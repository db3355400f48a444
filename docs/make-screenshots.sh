#!/usr/bin/env bash
# Remakes the screenshots of README.md: the materials book, the picture album and the clipboard
# monitor, taken of the real program on an Xvfb display of its own with sample entries and
# pictures. Builds what it needs first. Writes docs/materials-book.png, docs/picture-album.png
# and docs/clipboard-monitor.png, each replaced whole; nothing else is changed.
# The program is driven by its keyboard short-cuts and found by its window names, not by
# coordinates, so that changes of the windows' look need no change here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
docs=$root/docs
"$root/scripts/deps.sh" test
"$root/scripts/build.sh" --target mozhou mozhou-store mozhou-themes
program=$root/build/src/app/mozhou
store_tool=$root/build/tools/mozhou-store
themes_tool=$root/build/tools/themes/mozhou-themes

# The desktop tests' session helpers: a work folder cleaned on exit, fail, wait_for.
required_tools=(Xvfb xdotool xclip import convert sqlite3)
source "$root/tests/support/desktop_session.sh"

# --- A display of our own: the first free number from 51 to 59, white behind the windows ------
# (in place of the session's own, which takes any free number)
start_display() {
    local number
    for number in 51 52 53 54 55 56 57 58 59; do
        [[ ! -e /tmp/.X$number-lock && ! -e /tmp/.X11-unix/X$number ]] || continue
        Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp -wr >"$work/xvfb.log" 2>&1 &
        background+=($!)
        export DISPLAY=":$number"
        if wait_for 10 xdotool getdisplaygeometry >/dev/null 2>&1; then
            return 0
        fi
    done
    fail "no free display between :51 and :59"
}

# --- A program folder with sample entries and pictures -------------------------------------
make_program_folder() {
    local folder=$work/program
    mkdir -p "$folder/Data" "$folder/Temp"
    "$store_tool" create "$folder/Data/current.mdb" >/dev/null
    "$themes_tool" "$folder/Themes"
    make_pictures
    sqlite3 "$folder/Data/current.mdb" <<SQL
insert into 文本 values
    ('读书笔记：《红楼梦》', 0, '第一回　甄士隐梦幻识通灵　贾雨村风尘怀闺秀'),
    ('读书笔记：《红楼梦》', 1, '满纸荒唐言，一把辛酸泪。都云作者痴，谁解其中味？'),
    ('春晓', 0, '春眠不觉晓，处处闻啼鸟。'),
    ('春晓', 1, '夜来风雨声，花落知多少。'),
    ('旅行计划 2024', 0, '五月：杭州、苏州；十月：成都。'),
    ('菜谱：红烧肉', 0, '五花肉切块，冷水下锅焯水。'),
    ('会议记录', 0, '周一上午十点，讨论新版本的发布日期。'),
    ('English notes', 0, 'Plain text in any language.'),
    ('常用地址', 0, '北京市海淀区中关村大街 1 号'),
    ('学习计划', 0, '每天读书一小时。');
insert into 图片 values
    ('西湖春色', '杭州西湖，湖光山色', 1, readfile('$work/lake.jpg'), null),
    ('黄山日出', '清晨的山峰与云海', 1, readfile('$work/sunrise.jpg'), null),
    ('小船', '水墨风格的小船', 0, readfile('$work/boat.bmp'), null),
    ('夜空', '满天星斗', 1, readfile('$work/night.jpg'), null);
SQL
}

# Landscapes drawn by ImageMagick: JPEG and Windows bitmaps, as a user's pictures would be.
make_pictures() {
    convert -size 480x320 gradient:'#8fbde6'-'#f3eee0' \
        -fill '#f6c945' -draw 'circle 380,70 380,100' \
        -fill '#6d8fa8' -draw 'polygon 0,230 90,150 170,200 260,120 360,190 480,140 480,320 0,320' \
        -fill '#4d7f9e' -draw 'rectangle 0,250 480,320' \
        -fill '#2f4f63' -draw 'polygon 150,262 250,262 270,250 130,250' "$work/lake.jpg"
    convert -size 480x320 gradient:'#f7b267'-'#fde9c9' \
        -fill '#fff3b0' -draw 'circle 240,200 240,240' \
        -fill '#5b4b6b' -draw 'polygon 0,320 0,200 80,120 150,190 230,90 320,200 400,130 480,210 480,320' \
        -fill '#ffffffb0' -draw 'ellipse 120,230 120,18 0,360' -draw 'ellipse 360,250 140,20 0,360' \
        "$work/sunrise.jpg"
    convert -size 400x280 xc:'#f4efe1' \
        -fill '#26405f' -draw 'polygon 80,170 200,190 320,165 300,180 200,200 100,185' \
        -draw 'polygon 140,175 170,140 250,140 270,172' -draw 'line 300,168 350,90' \
        -fill none -stroke '#6c8fb5' -draw 'line 60,215 140,215' -draw 'line 220,230 330,230' \
        BMP3:"$work/boat.bmp"
    convert -size 480x320 gradient:'#0b1a3a'-'#2b4a7a' \
        -fill '#fffbe0' -draw 'circle 90,80 90,88' -draw 'circle 200,40 200,42' \
        -draw 'circle 300,110 300,112' -draw 'circle 420,60 420,63' -draw 'circle 380,200 380,201' \
        -fill '#f1e9b8' -draw 'circle 400,90 400,120' -fill '#16294f' -draw 'circle 388,82 388,110' \
        "$work/night.jpg"
}

# --- The program's windows -----------------------------------------------------------------
find_window() {  # NAME: the id of the shown window with exactly that name
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n1
}
has_window() { [[ -n "$(find_window "$1")" ]]; }

# Keys to the main window. With no window manager to activate it, it is given the input focus
# outright: the toolkit takes short-cuts only in the window that has it.
press() {  # KEYS...
    xdotool windowfocus --sync "$(find_window 墨舟札记)"
    sleep 0.3
    xdotool key --clearmodifiers "$@"
}

# shoot WINDOW-NAME FILE: that window's area of the screen, made small, into $work/shots/FILE.
shoot() {
    local id
    id=$(find_window "$1")
    [[ -n $id ]] || fail "no window named $1 to photograph"
    eval "$(xdotool getwindowgeometry --shell "$id")"
    sleep 1
    import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$work/$2"
    # 256 colours hold these flat skinned windows without visible loss, at a third of the size.
    convert "$work/$2" -strip -dither None -colors 256 -define png:compression-level=9 \
        "PNG8:$work/shots/$2"
}

# Moves the new screenshots into docs/, each under a temporary name first and then renamed.
publish() {
    local shot name
    for shot in "$work"/shots/*.png; do
        name=${shot##*/}
        cp "$shot" "$docs/.$name.new"
        sync "$docs/.$name.new"
        mv -f "$docs/.$name.new" "$docs/$name"
        echo "wrote docs/$name ($(stat -c %s "$docs/$name") bytes)"
    done
}

# xclip stays behind to serve the clipboard until another owner takes it or the display ends;
# its farewell when the display ends is no news.
copy_text() {  # TEXT: onto the clipboard, then a pause for the monitor to take it
    printf '%s' "$1" | xclip -selection clipboard 2>/dev/null
    sleep 0.6
}
copy_picture() {  # FILE
    convert "$1" "$work/clip.png"
    xclip -selection clipboard -t image/png -i "$work/clip.png" 2>/dev/null
    sleep 0.6
}

start_display
make_program_folder
mkdir "$work/shots"
(cd "$work/program" && TMPDIR=$work XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb \
    MOZHOU_SKIP_SPLASH_WAIT=1 exec "$program") >"$work/program.log" 2>&1 &
background+=($!)
wait_for 30 has_window 墨舟札记 || fail "the main window did not appear"

shoot 墨舟札记 materials-book.png

# The album, then its preview layout through the grid's pop-up menu: 模式(&M) → 预览(&P).
press ctrl+g
press Menu
sleep 0.4
xdotool key --clearmodifiers m
sleep 0.4
xdotool key --clearmodifiers p
shoot 墨舟札记 picture-album.png
if cmp -s "$work/shots/materials-book.png" "$work/shots/picture-album.png"; then
    fail "Ctrl+G did not switch to the album"
fi

copy_text "春眠不觉晓，处处闻啼鸟。"
copy_picture "$work/lake.jpg"
copy_text "夜来风雨声，花落知多少。"
copy_text "墨舟札记：剪贴板监视器保留最近四次内容。"
press ctrl+p
wait_for 10 has_window 监视剪贴板 || fail "Ctrl+P did not show the clipboard monitor"
shoot 监视剪贴板 clipboard-monitor.png

publish
