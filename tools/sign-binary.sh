#!/bin/sh
# Signs a freshly linked binary in place. A binary that could not be signed is
# deleted, so that the next build links and signs it again rather than ship it.
#   sign-binary.sh OSSLSIGNCODE CERT KEY SIGNING-TIME FILE
set -u
tool=$1 cert=$2 key=$3 time=$4 file=$5
if "$tool" sign -certs "$cert" -key "$key" -time "$time" -in "$file" -out "$file.signed" >/dev/null &&
   mv -f "$file.signed" "$file"; then
    exit 0
fi
echo "sign-binary.sh: could not sign $file" >&2
rm -f "$file" "$file.signed"
exit 1
