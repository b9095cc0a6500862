#!/usr/bin/env python3
"""Plants known faults in the source one at a time, rebuilds the tests and
checks that the named test fails on each; the source is put back after each.

    scripts/plant-faults.py [BUILD_DIR] [NAME...]

Each fault changes one line of text; a fault whose text is no longer in the
source is reported as stale, so the list goes on describing the code."""
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# name, file, the text as it is, the text with the fault, the test that must fail
FAULTS = [
    ('title-no-slerp', 'src/scenes/Title.cpp',
     'Slerp(QuaternionFromMatrix(tweenFrom[k]), QuaternionFromMatrix(tweenTo[k]), tweenProgress)',
     'QuaternionFromMatrix(tweenTo[k])',
     'TitleScene.TheEmblemsGlideToTheTriangleAlongTheShorterArcHalfwayAtTheTwentyFifthUpdate'),
    ('title-carousel-order', 'src/scenes/Title.cpp',
     'model.world = model.rotation * model.GetTranslation() * carousel;',
     'model.world = model.rotation * carousel * model.GetTranslation();',
     'TitleScene.EachEmblemSpinsAboutItselfWhileTheCarouselCarriesItAboutTheWorldsAxis'),
    ('title-left-arrow-bob', 'src/scenes/Title.cpp',
     'Bobbed(middle - ArrowSpread, -bob)', 'Bobbed(middle - ArrowSpread, bob)',
     'TitleScene.TheDifficultyArrowsBobOutwardTogether'),
    ('title-down-on-prompt', 'src/scenes/Title.cpp',
     'if (!latch.Closed() && menuItem != 0 && !difficultyOpen) {\n            menuItem = menuItem == 1 ? 2 : 1;',
     'if (!latch.Closed() && !difficultyOpen) {\n            menuItem = menuItem == 1 ? 2 : 1;',
     'TitleScene.UpAndDownDoNothingOnThePrompt'),
    ('select-face-2-placement', 'src/scenes/Select.cpp',
     'return {along(cell.x), along(cell.z), above(cell.y)};', 'return {along(cell.z), along(cell.x), above(cell.y)};',
     'SelectScene.EachStagesBlocksStandOnItsOwnFace'),
    ('select-face-4-spin-sign', 'src/scenes/Select.cpp',
     "{0.0f, Half, 0.0f, 'Z', -SpinAngle}", "{0.0f, Half, 0.0f, 'Z', SpinAngle}",
     'SelectScene.OnceATurnHasEndedTheCubeSpinsAboutTheChosenFacesOwnAxis'),
    ('select-spin-side', 'src/scenes/Select.cpp',
     'cubeTransform.world = Spin(Faces[stage - 1]) * cubeTransform.world;',
     'cubeTransform.world = cubeTransform.world * Spin(Faces[stage - 1]);',
     'SelectScene.OnceATurnHasEndedTheCubeSpinsAboutTheChosenFacesOwnAxis'),
    ('select-right-arrow-bob', 'src/scenes/Select.cpp',
     'at(static_cast<float>(1230.0 + bob), arrowY)', 'at(static_cast<float>(1230.0 - bob), arrowY)',
     'SelectScene.TheArrowsBobOutwardTogether'),
    ('select-turn-no-slerp', 'src/scenes/Select.cpp',
     'Slerp(QuaternionFromMatrix(tween.from), QuaternionFromMatrix(tween.to), tween.t)',
     'QuaternionFromMatrix(tween.to)',
     'SelectScene.HalfwayThroughATurnTheCubeIsBetweenItsTwoPosesAndAfterItTheFaceLooksUp'),
    ('edit-cursor-transposed', 'src/scenes/Edit.cpp',
     'static_cast<float>(i) == cursorZ && static_cast<float>(j) == cursorX',
     'static_cast<float>(i) == cursorX && static_cast<float>(j) == cursorZ',
     'EditScene.TheTilesLieRowByRowAndTheCursorsTileShowsTheTarget'),
    ('edit-no-camera', 'src/scenes/Edit.cpp',
     'model.SetCamera(camera->view, camera->projection);\n', '',
     'EditScene.BlocksAndTilesAreDrawnThroughTheEditorsOwnCamera'),
    ('glow-copies-write-depth', 'data/Shader/Shader_Model.cso',
     '@technique Color\n@depth test\n', '@technique Color\n',
     'GameLook.TheFlippingBlockShowsItselfInEveryFrameOfItsGlow'),
    ('reverse-rise-height', 'src/game/FlipBatch.cpp',
     'entries[i].height = static_cast<int>(i) + 1;', 'entries[i].height = static_cast<int>(i) + 2;',
     'FlipBatchTest.*'),
    ('hud-clear-banner-turn', 'src/game/GameHud.cpp',
     'ClearBannerSpin = 1073.0f', 'ClearBannerSpin = 1037.0f', 'GameHudTest.*'),
    ('save-without-fsync', 'src/files/AtomicFile.cpp',
     'return fsync(file) == 0;', 'return true;',
     'AtomicFile.ASaveIsOnTheDiskBeforeItHasItsName'),
    ('fat-save-reserves-its-name', 'src/files/AtomicFile.cpp',
     '    if (lstat(to.c_str(), &info) == 0) {\n        errno = EEXIST;\n        return false;\n    }\n'
     '    return errno == ENOENT && std::rename(from.c_str(), to.c_str()) == 0;',
     '    const int reserved = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);\n'
     '    if (reserved < 0)\n        return false;\n    close(reserved);\n'
     '    return std::rename(from.c_str(), to.c_str()) == 0;',
     'AtomicFile.KilledAtTheRenameWithoutHardLinksANewFileIsWholeOrAbsent'),
    ('leftovers-of-any-age', 'src/files/AtomicFile.cpp',
     'if (!entryError && now - written > LeftoverAge)', 'if (!entryError)',
     'AtomicFile.LeftoversOfKilledSavesGoOnceAMinuteOldAndNothingElseDoes'),
    ('settings-refuse-100', 'src/app/SettingsFile.cpp',
     'read < 0 || read > MaxLevel', 'read < 0 || read >= MaxLevel',
     'SettingsFileTest.EachLevelTakesZeroToAHundredAndNothingBeyond'),
    ('settings-save-unlocked', 'src/app/SettingsFile.cpp',
     'const FileLock lock((target.parent_path() / lockName).string());\n', '',
     'SettingsFileTest.TwoCopiesChangingDifferentSettingsKeepBothChanges'),
    ('reader-takes-any-file', 'src/files/FileBytes.cpp',
     'if (!S_ISREG(info.st_mode))', 'if (false)',
     'FileBytes.AnythingButARegularFileIsRefusedAtOnce'),
    ('reader-waits-on-open', 'src/files/FileBytes.cpp',
     'O_RDONLY | O_NONBLOCK | O_NOCTTY', 'O_RDONLY | O_NOCTTY',
     'FileBytes.AnythingButARegularFileIsRefusedAtOnce'),
    ('useful-beside-a-white', 'src/rules/Targets.cpp',
     '    if (!Field::Inside(x, cell.y, z) || grid.CellAt(x, cell.y, z) < BlockKind::Black)',
     '    if (!Field::Inside(x, cell.y, z) || grid.CellAt(x, cell.y, z) < BlockKind::White)',
     'Targets.ALandingIsUsefulOnlyWhereARunOfBlackBlocksEndsInWhite'),
    ('useful-beside-a-white-solver', 'src/rules/Targets.cpp',
     '    if (!Field::Inside(x, cell.y, z) || grid.CellAt(x, cell.y, z) < BlockKind::Black)',
     '    if (!Field::Inside(x, cell.y, z) || grid.CellAt(x, cell.y, z) < BlockKind::White)',
     'SolverAnswers.StagesWorkedOutByHand'),
    ('useful-beside-a-white-game', 'src/rules/Targets.cpp',
     '    if (!Field::Inside(x, cell.y, z) || grid.CellAt(x, cell.y, z) < BlockKind::Black)',
     '    if (!Field::Inside(x, cell.y, z) || grid.CellAt(x, cell.y, z) < BlockKind::White)',
     'GameRules.ABoardWhereNoLandingClosesARunIsLostAtTheStartAndAfterATurningOver'),
    ('run-closed-by-any-block', 'src/rules/Targets.cpp',
     'return Field::Inside(x, cell.y, z) && grid.CellAt(x, cell.y, z) == BlockKind::White;',
     'return Field::Inside(x, cell.y, z) && grid.CellAt(x, cell.y, z) != BlockKind::Empty;',
     'Targets.ALandingIsUsefulOnlyWhereARunOfBlackBlocksEndsInWhite'),
    ('player-cell-not-free', 'src/rules/Targets.cpp',
     'return kind == BlockKind::Empty || kind == BlockKind::PlayerCell;', 'return kind == BlockKind::Empty;',
     'Targets.ALandingIsUsefulOnlyWhereARunOfBlackBlocksEndsInWhite'),
    ('game-lost-only-walled-in', 'src/game/Game.cpp',
     'if (!HasMove(*grid, cell, targets)) {', 'if (IsWalledIn(*grid, cell)) {',
     'GameRules.ABoardWhereNoLandingClosesARunIsLostAtTheStartAndAfterATurningOver'),
    ('split-floor-player-left-behind', 'src/solver/PlayField.cpp',
     'next.player = LowestOfRegion(shot.from, labels);', 'next.player = position.player;',
     'SolverAnswers.EveryPositionOneShotLeadsToIsThePlainRulesOwnOnRandomStages'),
    ('split-floor-player-left-behind-by-hand', 'src/solver/PlayField.cpp',
     'next.player = LowestOfRegion(shot.from, labels);', 'next.player = position.player;',
     'SolverAnswers.StagesWorkedOutByHand'),
    ('walled-in-asked-of-one-shooter', 'src/solver/PlayField.cpp',
     'IsWalledIn(grid, CellAt(shot.from))', 'IsWalledIn(grid, CellAt(shots.front().from))',
     'SolverAnswers.EveryPositionOneShotLeadsToIsThePlainRulesOwnOnRandomStages'),
    ('walled-in-asked-of-one-shooter-by-hand', 'src/solver/PlayField.cpp',
     'IsWalledIn(grid, CellAt(shot.from))', 'IsWalledIn(grid, CellAt(shots.front().from))',
     'SolverAnswers.StagesWorkedOutByHand'),
    ('region-labelled-by-its-first-shooter', 'src/solver/PlayField.cpp',
     '        labels[static_cast<std::size_t>(at)] = lowest;', '        labels[static_cast<std::size_t>(at)] = cell;',
     'SolverAnswers.EveryPositionOneShotLeadsToIsThePlainRulesOwnOnRandomStages'),
    ('trap-that-loses-at-once', 'src/solver/DeadEnds.cpp',
     'outcome->turned == 0 || outcome->lost ||', 'outcome->turned == 0 ||',
     'DeadEnds.TheTrapsAreTheShotsThatShutThePlayerOnEitherSideButNotOneThatLosesAtOnce'),
    ('trap-region-before-the-shot', 'src/solver/PlayField.cpp',
     'outcome.next.player = Region(cell).front();', 'outcome.next.player = position.player;',
     'DeadEnds.TheTrapsAreTheShotsThatShutThePlayerOnEitherSideButNotOneThatLosesAtOnce'),
    ('user-folder-inside-install', 'src/main/UserData.cpp',
     'if (Contains(canonicalInstall, canonicalUser)) {', 'if (canonicalInstall == canonicalUser) {',
     'UserDataTest.AnyFolderInsideTheInstallIsRefusedHoweverTheDataHomeNamesIt'),
    ('user-folder-link-not-followed', 'src/main/UserData.cpp',
     'const fs::path canonicalUser = fs::weakly_canonical(user, code);',
     'const fs::path canonicalUser = user.lexically_normal();',
     'UserDataTest.AnyFolderInsideTheInstallIsRefusedHoweverTheDataHomeNamesIt'),
    ('user-folder-inside-by-name', 'src/main/UserData.cpp',
     'return std::mismatch(folder.begin(), folder.end(), inner.begin(), inner.end()).first == folder.end();',
     'return inner.string().starts_with(folder.string());',
     'UserDataTest.AnyFolderInsideTheInstallIsRefusedHoweverTheDataHomeNamesIt'),
    ('par-check-a-sum', 'src/stage/ParFile.cpp',
     '        hash ^= byte;\n        hash *= 16777619u;', '        hash += byte;',
     'ParCheck.EveryEditThatKeepsTheBytesButNotTheirOrderChangesTheCheck'),
    ('par-check-xor', 'src/stage/ParFile.cpp', '        hash *= 16777619u;\n', '',
     'ParCheck.EveryEditThatKeepsTheBytesButNotTheirOrderChangesTheCheck'),
    ('image-ratio-per-channel', 'src/formats/ImageFile.cpp',
     'decoded / MaxPackingRatio > fileBytes', 'decoded / MaxPackingRatio / Channels > fileBytes',
     'ImageFile.AHeaderClaimingMoreThanTheFileCanHoldIsRefusedBeforeThePixelsAreAllocated'),
    ('image-256-mib-always-tried', 'src/formats/ImageFile.cpp',
     'AlwaysTriedBytes = 16u << 20', 'AlwaysTriedBytes = 256u << 20',
     'ImageFile.AHeaderClaimingMoreThanTheFileCanHoldIsRefusedBeforeThePixelsAreAllocated'),
    ('jpeg-size-unchecked', 'src/formats/ImageFile.cpp',
     '    if (!SizeFits(width, height, bytes.size(), error))\n        return std::nullopt;\n    Image image;',
     '    Image image;',
     'ImageFile.AHeaderClaimingMoreThanTheFileCanHoldIsRefusedBeforeThePixelsAreAllocated'),
    ('image-height-unbounded', 'src/formats/ImageFile.cpp',
     '|| width > MaxImageSide || height > MaxImageSide', '|| width > MaxImageSide',
     'ImageFile.AHeaderClaimingMoreThanTheFileCanHoldIsRefusedBeforeThePixelsAreAllocated'),
    ('title-enter-while-moving', 'src/scenes/Title.cpp',
     'if (difficultyOpen && tweenProgress >= 1.0f) {\n            leaving = true;',
     'if (difficultyOpen) {\n            leaving = true;',
     'TitleScene.AnEnterWhileTheEmblemsStillMoveChoosesNothing'),
    ('title-enter-almost-at-rest', 'src/scenes/Title.cpp',
     'if (difficultyOpen && tweenProgress >= 1.0f) {\n            leaving = true;',
     'if (difficultyOpen && tweenProgress >= 0.99f) {\n            leaving = true;',
     'TitleScene.AnEnterWhileTheEmblemsStillMoveChoosesNothing'),
    ('hint-arrow-minus-x-flipped', 'src/game/Game.cpp',
     'case Direction::MinusX:\n        return std::numbers::pi_v<float> / 2.0f;',
     'case Direction::MinusX:\n        return -std::numbers::pi_v<float> / 2.0f;',
     'HintDraw.TheArrowPointsTheWayTheHintedShotFliesInAllFourDirections'),
    ('hint-arrow-plus-z-unturned', 'src/game/Game.cpp',
     'case Direction::PlusZ:\n        return std::numbers::pi_v<float>;', 'case Direction::PlusZ:\n        return 0.0f;',
     'HintDraw.TheArrowPointsTheWayTheHintedShotFliesInAllFourDirections'),
    ('search-gave-up-is-a-dead-end', 'src/game/Assists.cpp',
     'if (!known || known->verdict == Solution::Verdict::GaveUp)', 'if (!known)',
     'AssistsKnowledge.AGivenUpSearchIsNeitherADeadEndNorAHintNorAPar'),
    ('search-ignores-its-budget', 'src/solver/PositionTable.cpp',
     'if (Bytes() + ChunkNodes * sizeof(Node) > budget)', 'if (false)',
     'SearchMemory.ATableNeverHoldsMoreThanItsBudgetAndKeepsEveryPositionOnce'),
    ('search-grows-past-its-budget', 'src/solver/PositionTable.cpp',
     'const std::size_t growing = Bytes() + count * sizeof(std::uint32_t);',
     'const std::size_t growing = slots.size() * sizeof(std::uint32_t) + count * sizeof(std::uint32_t);',
     'SearchMemory.ATableNeverHoldsMoreThanItsBudgetAndKeepsEveryPositionOnce'),
    ('packed-block-above-the-floor', 'src/solver/PlayField.cpp',
     'return isShown ? CellKind(packed, IndexOf(piece.cell)) : piece.kind;',
     'return CellKind(packed, IndexOf(piece.cell));',
     'SearchMemory.APackedPositionUnpacksToTheSamePosition'),
    ('search-out-of-memory-aborts', 'src/solver/BackgroundSolve.cpp',
     'catch (const std::bad_alloc&)', 'catch (const std::length_error&)',
     'SearchMemory.ASearchThatRunsOutOfMemoryGivesUpAsTooLarge'),
]

# Each test is in one of the two binaries; run in the other, its filter matches nothing and passes.
BINARIES = ['orb_tests', 'orb_unit_tests']


def run(command, cwd=ROOT, **kwargs):
    return subprocess.run(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kwargs)


def main():
    args = sys.argv[1:]
    build = args.pop(0) if args and not any(args[0] == f[0] for f in FAULTS) else 'build'
    chosen = [f for f in FAULTS if not args or f[0] in args]
    env = dict(os.environ, MESA_GL_VERSION_OVERRIDE='3.3')
    failures = 0
    for name, path, text, fault, test in chosen:
        file = os.path.join(ROOT, path)
        original = open(file, encoding='utf-8').read()
        if original.count(text) != 1:
            print(f'{name}: stale, the text is not in {path} exactly once')
            failures += 1
            continue
        planted = original.replace(text, fault)
        try:
            open(file, 'w', encoding='utf-8').write(planted)
            built = run(['cmake', '--build', build, '--target', *BINARIES, 'runtime', '--parallel', str(os.cpu_count())])
            if built.returncode != 0:
                print(f'{name}: does not build\n{built.stdout[-2000:]}')
                failures += 1
                continue
            caught = any(run([os.path.join(ROOT, build, 'tests', binary), f'--gtest_filter={test}'], env=env).returncode
                         for binary in BINARIES)
            print(f'{name}: {"caught by" if caught else "NOT CAUGHT by"} {test}')
            failures += not caught
        finally:
            # Others may work in the same tree: an edit made while the fault
            # stood is theirs, and is not written over.
            if open(file, encoding='utf-8').read() == planted:
                open(file, 'w', encoding='utf-8').write(original)
            else:
                print(f'{name}: {path} changed while the fault stood; left as it is, take the fault out by hand')
                failures += 1
    run(['cmake', '--build', build, '--target', *BINARIES, 'runtime', '--parallel', str(os.cpu_count())])
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
