#!/bin/sh
# Installs what building, the example and the tests need on Debian 12 (run as root).
set -e
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends \
    build-essential cmake ninja-build pkg-config git \
    zlib1g-dev libminizip-dev libpng-dev libjpeg62-turbo-dev libgtest-dev \
    python3 python3-openpyxl libxml2-utils libreoffice-calc-nogui poppler-utils \
    clang libclang-rt-14-dev libxlsxwriter-dev >/dev/null
