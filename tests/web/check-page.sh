#!/usr/bin/env bash
# What the published page ships, read as files: its policy is no weaker than the one the
# page promises, it has no inline script or event attribute, and neither the page's
# modules nor the engine put markup together from text or make code from strings (which
# the policy would block at run time, in a view a browser test might not open).
# Usage: check-page.sh PAGE_DIR [ENGINE_JS]
set -uo pipefail
page=${1:?usage: check-page.sh PAGE_DIR [ENGINE_JS]}
engine=${2:-}
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

html=$(cat "$page/index.html")
policy=$(grep -o '<meta http-equiv="Content-Security-Policy" content="[^"]*"' <<<"$html" | sed 's/.*content="//; s/"$//')
[ -n "$policy" ] || fail "index.html has no Content-Security-Policy meta tag"
for directive in "default-src 'self'" "script-src 'self' 'wasm-unsafe-eval'" "object-src 'none'" "base-uri 'none'"; do
    grep -qE "(^|; )$directive(;|$)" <<<"$policy" || fail "the policy lacks \"$directive\": $policy"
done
grep -qE "unsafe-inline|'unsafe-eval'|data:|\*|https?:" <<<"$policy" && fail "the policy allows more than the page's own files: $policy"
grep -qE '<script( [^>]*)?>[^<]' <<<"$html" && fail "index.html has an inline script"
grep -oE '<script[^>]*>' <<<"$html" | grep -v ' src="' && fail "index.html has a script without src"
grep -qiE '<[^>]+ on[a-z]+=' <<<"$html" && fail "index.html has an event attribute"
grep -qiE '(src|href)="(https?:)?//' <<<"$html" && fail "index.html loads a file from elsewhere"

for file in $(find "$page" -name '*.js'); do
    grep -nE 'innerHTML|outerHTML|insertAdjacentHTML|document\.write|\beval\(|new Function|setTimeout\(["'\'']|import\(["'\'']https?:' "$file" &&
        fail "$file makes markup or code from text"
    grep -nE "from ['\"](https?:)?//" "$file" && fail "$file imports a module from elsewhere"
done
if [ -n "$engine" ]; then
    grep -qE '\beval\(|new Function' "$engine" && fail "the engine $engine makes code from strings"
fi
[ "$failures" -eq 0 ] && echo "The page's policy and files: checked"
exit $((failures != 0))
