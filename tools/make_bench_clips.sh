#!/bin/sh
# Makes the clips that framebench --bench is measured on, like the videos
# students bring: a phone-like 1080p H.264 MP4 with keyframes 250 frames apart
# and B-frames, a 4K HEVC MOV, a 720p Motion JPEG AVI, a 480p MPEG-2 program
# stream, each 10 s, and a 10-minute 640x360 H.264 MP4 for the memory check.
#
#   tools/make_bench_clips.sh [FOLDER]      (default: build/benchclips)
#
# Existing clips are kept; delete one to make it again. The clips are large
# and are not committed.
set -eu

out=${1:-build/benchclips}
mkdir -p "$out"

# Moving test picture with a little grain, so that the encoders spend bits
# the way they do on a real scene.
picture() {
    echo "testsrc2=size=$1:rate=$2,noise=alls=6:allf=t+u"
}

make() {
    name=$1
    shift
    if [ -s "$out/$name" ]; then
        echo "keeping $out/$name"
        return
    fi
    echo "making $out/$name"
    ffmpeg -hide_banner -loglevel error -y "$@" "$out/$name.part.${name##*.}"
    mv "$out/$name.part.${name##*.}" "$out/$name"
}

make h264_1080p_gop250.mp4 -f lavfi -i "$(picture 1920x1080 30)" -t 10 \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 250 -keyint_min 250 \
    -sc_threshold 0 -bf 3 -b:v 12M -maxrate 16M -bufsize 24M -movflags +faststart

make hevc_2160p.mov -f lavfi -i "$(picture 3840x2160 30)" -t 10 \
    -c:v libx265 -preset ultrafast -pix_fmt yuv420p -tag:v hvc1 -b:v 22M \
    -x265-params "keyint=120:min-keyint=120:scenecut=0:bframes=3:log-level=error"

make mjpeg_720p.avi -f lavfi -i "$(picture 1280x720 30)" -t 10 \
    -c:v mjpeg -q:v 3 -pix_fmt yuvj420p

make mpeg2_480p.mpg -f lavfi -i "$(picture 720x480 30000/1001)" -t 10 \
    -c:v mpeg2video -b:v 6M -maxrate 8M -bufsize 1835k -g 15 -bf 2 -f mpeg

make h264_360p_10min.mp4 -f lavfi -i "$(picture 640x360 30)" -t 600 \
    -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 250 -keyint_min 250 \
    -sc_threshold 0 -bf 3 -b:v 1500k
