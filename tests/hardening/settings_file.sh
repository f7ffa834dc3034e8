# Sourced by the hardening scripts: write_settings FILE NUMBER TEXTON CYCLELENGTH
# writes a settings file with those values and the defaults for the rest.
write_settings() {
  local file=$1 number=$2 text_on=$3 cycle=$4
  mkdir -p "$(dirname "$file")"
  cat >"$file" <<SETTINGS
[Number]
Type=REG_DWORD
Length=4
Data=$number

[TextOn]
Type=REG_DWORD
Length=1
Data=$text_on

[CycleLength]
Type=REG_DWORD
Length=4
Data=$cycle
SETTINGS
}
