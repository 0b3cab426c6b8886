# Shared by the process tests: a scratch stand-in machine in $WINSHIM_ROOT (removed on exit,
# when the checks give their verdict), its drive C: in $c, and the key that holds printers.
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
WINSHIM_ROOT=$(mktemp -d)
export WINSHIM_ROOT
c=$WINSHIM_ROOT/drive_c
printers='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers'
trap 'rm -rf "$WINSHIM_ROOT"; checks_done' EXIT

# add_printer NAME [PORT]: appends the printer's key to registry.reg, as a user would.
add_printer() {
    printf '[%s\\%s]\r\n"Port"="%s"\r\n\r\n' "$printers" "$1" "${2:-LPT1:}" >>"$WINSHIM_ROOT/registry.reg"
}
