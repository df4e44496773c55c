#!/usr/bin/env bash
# Whole-process start-up and exit of the desktop program against a bare dialog of the same toolkit,
# under Xvfb: launch to first painted frame, asked-to-end to process exit, and peak memory.
#   bench/startup.sh [bin-folder] [runs]
# Both programs print the wall-clock time of their first frame and of the request to end (the
# window through KORVEL_BENCH_FIRST_FRAME, the same road as the tray's Exit); the script times the
# launch and the process end around them, and /usr/bin/time -v gives the peak resident set.
set -euo pipefail
bin="$(cd "${1:-build/bin}" && pwd)"
runs="${2:-7}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cat > "$work/measure.sh" <<INNER
#!/usr/bin/env bash
set -euo pipefail
# One run: prints "launch-ms exit-ms peak-kB".
one() {
    local log="$work/run.log" rss="$work/rss.log"
    local start end
    start=\$(date +%s%N)
    /usr/bin/time -v -o "\$rss" "\$@" 2>"\$log" >/dev/null || true
    end=\$(date +%s%N)
    local frame asked peak
    frame=\$(awk '/^first-frame/ { print \$2 }' "\$log")
    asked=\$(awk '/^exit-requested/ { print \$2 }' "\$log")
    peak=\$(awk -F': ' '/Maximum resident set size/ { print \$2 }' "\$rss")
    if [ -z "\$frame" ]; then echo "no frame:" >&2; cat "\$log" >&2; exit 1; fi
    echo "\$(( (frame - start) / 1000 )) \$(( (end - asked) / 1000 )) \$peak"
}
# Median of a column of numbers.
median() { sort -n | awk '{ v[NR] = \$1 } END { print v[int((NR + 1) / 2)] }'; }
report() {
    local name="\$1" file="\$2"
    printf '%-15s launch-to-first-frame %6.1f ms   close-to-exit %6.1f ms   peak RSS %5.1f MB\n' \
        "\$name" \
        "\$(cut -d' ' -f1 "\$file" | median | awk '{ print \$1 / 1000 }')" \
        "\$(cut -d' ' -f2 "\$file" | median | awk '{ print \$1 / 1000 }')" \
        "\$(cut -d' ' -f3 "\$file" | median | awk '{ print \$1 / 1024 }')"
}
mkdir -p "$work/Documents"
# korvel with every start-up mechanism on, then with each one off (KORVEL_STARTUP_OFF), the runs
# interleaved so that a drift of the machine touches every variant alike.
variants="all-on prefetch mallopt all-on-again"
korvel() {
    local off="\$1"
    case "\$off" in all-on*) off="" ;; esac
    KORVEL_STARTUP_OFF="\$off" KORVEL_BENCH_FIRST_FRAME=1 one "$bin/korvel" \
        --simulate="$work/kb.state" --documents="$work/Documents"
}
# A first run of each warms the file cache; it is not counted.
one "$bin/bare_dialog" >/dev/null
korvel all-on >/dev/null
: > "$work/bare.txt"
for v in \$variants; do : > "$work/\$v.txt"; done
for _ in \$(seq $runs); do
    one "$bin/bare_dialog" >> "$work/bare.txt"
    for v in \$variants; do korvel "\$v" >> "$work/\$v.txt"; done
done
echo "median of $runs runs each (Xvfb); korvel with all start-up mechanisms on, then each one off:"
report bare "$work/bare.txt"
for v in \$variants; do
    case "\$v" in
        all-on) report korvel "$work/\$v.txt" ;;
        all-on-again) report "korvel again" "$work/\$v.txt" ;;
        *) report "-\$v" "$work/\$v.txt" ;;
    esac
done
INNER
chmod +x "$work/measure.sh"
xvfb-run -a -s "-screen 0 1400x900x24" "$work/measure.sh"
