# Sourced by install-deps.sh and guest-prepare.sh, which install the one list
# in tools/packages.txt: on the host, and in the test guest's root.
#   wiz_packages          the packages, one a line
#   wiz_locales           the Unix locales to generate, one a line
#   make_locales [CMD..]  generates the missing locales, each command run
#                         through CMD (e.g. "chroot ROOT") when given
packages_list=$(dirname "${BASH_SOURCE[0]}")/packages.txt

wiz_packages() {
    sed -e 's/#.*//' -e '/^[[:space:]]*locale[[:space:]]/d' "$packages_list" | tr -d ' \t' | sed '/^$/d'
}

wiz_locales() {
    sed -n 's/^[[:space:]]*locale[[:space:]]\+\([^[:space:]#]*\).*/\1/p' "$packages_list"
}

make_locales() {
    local name
    for name in $(wiz_locales); do
        "$@" locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}" && continue
        "$@" localedef -i "${name%%.*}" -f UTF-8 "$name"
    done
}
