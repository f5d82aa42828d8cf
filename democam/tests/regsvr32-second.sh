#!/bin/sh
# The second camera and the twin through regsvr32's own switches, as a user
# types them: /n /i:second registers it, /u /n /i:second removes it, and only
# it; /n /i:twin registers the twin, plain /u removes every camera.
# Usage: regsvr32-second.sh WINE-COMMAND... (run beside vardolin-democam.dll)
instances='HKCR\CLSID\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\Instance'
listed() { "$@" reg query "$instances\\$camera" >/dev/null 2>&1; }
fail() { echo "FAILED: $*"; exit 1; }

"$@" regsvr32 /s vardolin-democam.dll || fail "regsvr32"
"$@" regsvr32 /s /n /i:second vardolin-democam.dll || fail "regsvr32 /n /i:second"
camera='Vardolin Demo Camera 2'; listed "$@" || fail "second camera not listed after /i:second"
"$@" regsvr32 /s /u /n /i:second vardolin-democam.dll || fail "regsvr32 /u /n /i:second"
camera='Vardolin Demo Camera 2'; listed "$@" && fail "second camera still listed after /u /n /i:second"
camera='Vardolin Demo Camera'; listed "$@" || fail "first camera gone with the second"
"$@" regsvr32 /s /n /i:twin vardolin-democam.dll || fail "regsvr32 /n /i:twin"
camera='{4C6E1F52-9B0D-4A37-8E25-0B7D3F61A9C4}'; listed "$@" || fail "twin not listed after /i:twin"
"$@" regsvr32 /s /u vardolin-democam.dll || fail "regsvr32 /u"
camera='Vardolin Demo Camera'; listed "$@" && fail "first camera still listed after /u"
camera='{4C6E1F52-9B0D-4A37-8E25-0B7D3F61A9C4}'; listed "$@" && fail "twin still listed after /u"
echo "passed"
