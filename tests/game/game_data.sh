# Sourced: make_game_data DIR writes a folder the game can run a stage in:
# one small model under every name a group 1 stage draws (a missing model
# ends the program), group 1's stage 1 (a run of two black blocks closed by a
# white one, ahead of the player's first shot to +x) and its result file.
# Sounds and images are left out: the game runs without them.
make_game_data() {
  local dir=$1
  mkdir -p "$dir/Resource/Data/WhiteBlock" "$dir/Resource/BData/STAGE1"
  cat > "$dir/Resource/Data/WhiteBlock/Model.x" <<'XFILE'
xof 0303txt 0032
Mesh Block {
 4;
 -25.0;-25.0;-25.0;,
 25.0;-25.0;-25.0;,
 0.0;25.0;0.0;,
 0.0;-25.0;25.0;;
 4;
 3;0,1,2;,
 3;1,3,2;,
 3;3,0,2;,
 3;0,3,1;;
 MeshMaterialList {
  1;
  4;
  0,
  0,
  0,
  0;;
  Material White {
   1.0;1.0;1.0;1.0;;
   10.0;
   0.3;0.3;0.3;;
   0.0;0.0;0.0;;
  }
 }
}
XFILE
  local model
  for model in BlackBlock/Model.x BlackBlock/HardBlack.x BlackBlock/HardBlack2.x Player/Model.x \
      FlameBlock/Model.x Stage/Stage1.x SkySphere/Model1.x; do
    mkdir -p "$(dirname "$dir/Resource/Data/$model")"
    cp "$dir/Resource/Data/WhiteBlock/Model.x" "$dir/Resource/Data/$model"
  done
  printf 'x:2,y:0,z:0,sf:2,af:0,pf:0\nx:3,y:0,z:0,sf:2,af:0,pf:0\nx:4,y:0,z:0,sf:1,af:0,pf:0\n' \
    > "$dir/Resource/BData/STAGE1/Stage001.txt"
  printf 'score:0' > "$dir/Resource/BData/STAGE1/Result1.txt"
}
