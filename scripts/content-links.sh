# Sourced: link_content RUNTIME DIR makes DIR a player's folder for one run,
# linking the build's read-only content (models, images, sounds, effects)
# from its runtime folder RUNTIME. Stages and results, which runs write, are
# each caller's to copy in.
link_content() {
  local runtime
  runtime=$(realpath "$1")
  mkdir -p "$2/Resource"
  for folder in Resource/Data Resource/Texture Resource/Sound Shader; do
    ln -s "$runtime/$folder" "$2/$folder"
  done
}
