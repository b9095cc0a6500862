"""A data folder for a harness run: the built content linked, the shipped
stages copied with every best score at 0."""
import os
import shutil


def make_fresh_data(data, runtime, root):
    shutil.rmtree(data, ignore_errors=True)
    os.makedirs(os.path.join(data, 'Resource'))
    for folder in ('Resource/Data', 'Resource/Texture', 'Resource/Sound', 'Shader'):
        os.symlink(os.path.realpath(os.path.join(runtime, folder)), os.path.join(data, folder))
    shutil.copytree(os.path.join(root, 'data/Resource/BData'), os.path.join(data, 'Resource/BData'))
    for group in (1, 2, 3):
        for stage in range(1, 7):
            with open(os.path.join(data, f'Resource/BData/STAGE{group}/Result{stage}.txt'), 'w') as result:
                result.write('score:0')
