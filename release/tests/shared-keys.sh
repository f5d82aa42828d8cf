#!/usr/bin/env bash
# On 64-bit Windows every key below HKLM\Software\Classes but a few (CLSID,
# Interface, ...) is one key that both registry views share. Wine keeps a key
# per view there, except for the few it links itself (TypeLib, AppId, ...).
# This gives Vardolin's ProgIDs the same links in a test prefix, so that what
# one bitness writes there the other reads, as on Windows. Once per prefix,
# with its wineserver stopped (it keeps the registry in memory).
# Usage: shared-keys.sh PREFIX
set -euo pipefail
export WINEPREFIX=$1
grep -A1 '^\[Software\\\\Classes\\\\Wow6432Node\\\\Vardolin.ClsJPEG\] ' "$WINEPREFIX/system.reg" | grep -q '^#link' && exit 0
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
python3 - "$WINEPREFIX/system.reg" <<'EOF'
import re, sys
path = sys.argv[1]
with open(path, encoding="utf-8") as f:
    text = f.read()
for progid in ("Vardolin.Class1", "Vardolin.ClsJPEG"):
    key = "Software\\\\Classes\\\\Wow6432Node\\\\" + progid
    # A key the 32-bit view made before: the link takes its place.
    text = re.sub(r"\n\[" + re.escape(key) + r"(\\\\[^\]]*)?\] [^\n]*\n(?:[^\n]+\n)*", "\n", text)
    target = "\\Registry\\Machine\\Software\\Classes\\" + progid
    data = ",".join("%02x" % b for b in target.encode("utf-16-le"))
    text += f'\n[{key}] 0\n#link\n"SymbolicLinkValue"=hex(6):{data}\n'
with open(path, "w", encoding="utf-8") as f:
    f.write(text)
EOF
