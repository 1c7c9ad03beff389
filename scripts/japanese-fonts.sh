# Sourced after the Wine prefix is chosen: installs a Japanese font if none is present and
# lets it stand in for the fonts the Japanese templates and Wine's captions ask for.
# A font with Latin letters too is needed (a fallback-only font leaves "OK" blank); Wine
# finds it through fontconfig.
if ! fc-list :lang=ja family | grep -qiE 'IPA'; then
  echo "Installing: fonts-ipafont-gothic"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq fonts-ipafont-gothic >/dev/null
fi
for face in 'MS UI Gothic' 'ＭＳ Ｐゴシック'; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d IPAPGothic /f >/dev/null 2>&1
done
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic /f >/dev/null 2>&1
