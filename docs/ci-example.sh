#!/bin/sh
# Builds the HTML documentation of a Visual Basic 6 project in CI and
# publishes it to a folder (for example the one a static site serves).
#
#   docs/ci-example.sh PROJECT.vbp PUBLISH_FOLDER
#
# Any warning fails the job (--werror): a broken @see link or a template
# mistake stops the pipeline instead of slipping into the pages. The folder
# is replaced only by a complete build. SCRIVLET names the program when it
# is not on the PATH.
set -eu

if [ $# -ne 2 ]; then
  echo "usage: ci-example.sh PROJECT.vbp PUBLISH_FOLDER" >&2
  exit 2
fi
project=$1
publish=$2
scrivlet=${SCRIVLET:-scrivlet}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$scrivlet" --version
"$scrivlet" compile "$project" --template html --output "$work/html" \
  --werror --quiet

# Copy first, then swap: a copy that fails leaves the published pages as
# they were.
rm -rf "$publish.new"
mkdir -p "$(dirname "$publish")"
cp -R "$work/html" "$publish.new"
rm -rf "$publish"
mv "$publish.new" "$publish"
echo "Documentation published to $publish"
